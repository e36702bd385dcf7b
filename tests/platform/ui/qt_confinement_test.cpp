// Only the platform layer may see the toolkit and the Access library.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace fs = std::filesystem;

TEST(Confinement, OnlyPlatformIncludesQtOrMdbtools) {
  const char* root = QUILLON_SOURCE_DIR;
  std::regex forbidden(R"(#\s*include\s*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/|mdbtools\.h|mdbsql\.h))");
  std::vector<std::string> offenders;
  for (const char* dir : {"app", "flat", "treelist", "dbgrid", "tools", "bench", "tests/app", "tests/flat", "tests/tools"}) {
    fs::path base = fs::path(root) / dir;
    if (!fs::exists(base)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(base)) {
      auto ext = entry.path().extension();
      if (ext != ".h" && ext != ".cpp" && ext != ".hpp") continue;
      std::ifstream in(entry.path());
      std::string line;
      while (std::getline(in, line))
        if (std::regex_search(line, forbidden)) offenders.push_back(entry.path().string() + ": " + line);
    }
  }
  EXPECT_TRUE(offenders.empty()) << offenders.front();
}
