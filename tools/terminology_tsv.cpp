#include "tools/terminology_tsv.h"

#include <fstream>
#include <map>

#include "platform/core/utf8.h"
#include "tools/terminology_schema.h"

namespace {

[[noreturn]] void Refuse(const std::filesystem::path& path, size_t line, const std::string& message) {
  throw ETerminologySourceError(path.string() + ":" + std::to_string(line) + ": " + message);
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> cells;
  size_t start = 0;
  for (;;) {
    const size_t tab = line.find('\t', start);
    cells.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos) return cells;
    start = tab + 1;
  }
}

bool IsValidUtf8(const std::string& text) {
  const std::u32string codePoints = Utf8ToUtf32(text);
  for (char32_t cp : codePoints)
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
  return Utf32ToUtf8(codePoints) == text;
}

std::string JoinNames(const std::vector<TMdbColumn>& columns) {
  std::string names;
  for (const TMdbColumn& column : columns) names += (names.empty() ? "" : " ") + column.Name;
  return names;
}

bool IsFourDigitCode(const std::string& text) {
  if (text.size() != 4) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

TTsvTable ReadTsvTable(const std::filesystem::path& path, const std::vector<TMdbColumn>& columns) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ETerminologySourceError("Cannot open " + path.string());
  TTsvTable table;
  table.Path = path;

  std::vector<std::pair<size_t, std::string>> lines;
  std::string line;
  for (size_t number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    lines.emplace_back(number, line);
  }
  while (!lines.empty() && lines.back().second.empty()) lines.pop_back();
  if (lines.empty()) Refuse(path, 1, "the file is empty; expected the header line \"" + JoinNames(columns) + "\"");

  std::vector<std::string> header = SplitTabs(lines.front().second);
  bool headerMatches = header.size() == columns.size();
  for (size_t i = 0; headerMatches && i < columns.size(); ++i) headerMatches = header[i] == columns[i].Name;
  if (!headerMatches)
    Refuse(path, 1, "the header line must be the tab-separated column names \"" + JoinNames(columns) + "\"");

  for (size_t i = 1; i < lines.size(); ++i) {
    const auto& [number, text] = lines[i];
    if (text.empty()) Refuse(path, number, "empty line");
    if (!IsValidUtf8(text)) Refuse(path, number, "the line is not valid UTF-8");
    std::vector<std::string> cells = SplitTabs(text);
    if (cells.size() != columns.size())
      Refuse(path, number, "expected " + std::to_string(columns.size()) + " tab-separated cells, found " +
                               std::to_string(cells.size()));
    TMdbRow row;
    for (size_t c = 0; c < cells.size(); ++c) {
      if (Utf8Length(cells[c]) > size_t(columns[c].MaxLength))
        Refuse(path, number, columns[c].Name + " is longer than " + std::to_string(columns[c].MaxLength) + " characters");
      if (cells[c].empty())
        row.emplace_back(std::nullopt);
      else
        row.emplace_back(std::move(cells[c]));
    }
    table.Rows.push_back(std::move(row));
    table.Lines.push_back(number);
  }
  return table;
}

void CheckTerminology(const TTsvTable& whoart, const TTsvTable& ljxt) {
  std::map<std::string, size_t> systemLines;
  for (size_t i = 0; i < ljxt.Rows.size(); ++i) {
    const std::optional<std::string>& sid = ljxt.Rows[i][ljxSID];
    if (!sid || !IsFourDigitCode(*sid)) Refuse(ljxt.Path, ljxt.Lines[i], "SID must be a code of four decimal digits");
    auto [at, added] = systemLines.emplace(*sid, ljxt.Lines[i]);
    if (!added) Refuse(ljxt.Path, ljxt.Lines[i], "SID " + *sid + " is already used on line " + std::to_string(at->second));
  }

  std::map<std::string, size_t> termLines;
  const TWhoartColumn codeColumns[] = {whoSID1, whoSID2, whoSID3};
  const char* codeNames[] = {"SID1", "SID2", "SID3"};
  for (size_t i = 0; i < whoart.Rows.size(); ++i) {
    const TMdbRow& row = whoart.Rows[i];
    const size_t line = whoart.Lines[i];
    const std::optional<std::string>& tid = row[whoTID];
    if (!tid || !IsFourDigitCode(*tid)) Refuse(whoart.Path, line, "TID must be a code of four decimal digits");
    auto [at, added] = termLines.emplace(*tid, line);
    if (!added) Refuse(whoart.Path, line, "TID " + *tid + " is already used on line " + std::to_string(at->second));
    if (!row[whoSID1]) Refuse(whoart.Path, line, "SID1 is empty: every term affects at least one organ system");
    for (int k = 0; k < 3; ++k) {
      const std::optional<std::string>& code = row[codeColumns[k]];
      if (!code) continue;
      if (!IsFourDigitCode(*code)) Refuse(whoart.Path, line, std::string(codeNames[k]) + " must be a code of four decimal digits");
      if (!systemLines.count(*code))
        Refuse(whoart.Path, line, std::string(codeNames[k]) + " " + *code + " is not an SID of " + ljxt.Path.filename().string());
    }
  }
}
