#include "treelist/gallery/sample_terms.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

// The data rows of a tab-separated file, each split into at least `cells` cells (missing
// trailing cells of a short row are an error: the files always carry every tab).
std::vector<std::vector<std::string>> readRows(const std::string& path, size_t cells) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ESampleTermsError("cannot open " + path);
  std::vector<std::vector<std::string>> rows;
  std::string line;
  size_t lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (lineNo == 1 || line.empty()) continue;  // header; trailing empty lines
    std::vector<std::string> row;
    size_t start = 0;
    for (;;) {
      size_t tab = line.find('\t', start);
      row.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    if (row.size() < cells)
      throw ESampleTermsError(path + ":" + std::to_string(lineNo) + ": expected " +
                              std::to_string(cells) + " cells");
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace

std::vector<TSampleTerm> ReadSampleTerms(const std::string& whoartPath) {
  std::vector<TSampleTerm> terms;
  for (auto& r : readRows(whoartPath, 7))
    terms.push_back({r[0], r[1], r[2], r[3], r[4], r[5], r[6]});
  return terms;
}

std::vector<TSampleOrganSystem> ReadSampleOrganSystems(const std::string& ljxtPath) {
  std::vector<TSampleOrganSystem> systems;
  for (auto& r : readRows(ljxtPath, 3)) systems.push_back({r[0], r[1], r[2]});
  return systems;
}

std::vector<TSampleTerm> SortedByPinyin(std::vector<TSampleTerm> terms) {
  std::sort(terms.begin(), terms.end(), [](const TSampleTerm& a, const TSampleTerm& b) {
    return a.PY != b.PY ? a.PY < b.PY : a.TID < b.TID;
  });
  return terms;
}

std::string OrganSystemFileBeside(const std::string& whoartPath) {
  return (std::filesystem::path(whoartPath).parent_path() / "ljxt.tsv").string();
}
