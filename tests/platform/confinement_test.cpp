// Which folder may include which, as one table for the whole tree. Every target gets the
// repository root as include path, so nothing but this test stops an include that reaches up a
// layer or pulls the toolkit into portable code. The test walks the tree, so a new file is
// checked without anyone listing it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace {

// One row: the files it covers and what they may include. `files` is a folder ("flat/") or a
// folder and the start of file names ("platform/ui/qt_"). `sees` holds folders of the tree
// (ending in '/') and the names of outside libraries (see LibraryOf).
struct Layer {
  std::string_view files;
  std::vector<std::string_view> sees;
};

// A file gets the union of every row whose `files` starts its path. A file under tests/ also
// gets the rows of the source path it mirrors: tests/flat/x_test.cpp sees what flat/x_test.cpp
// would, tests/platform/ui/qt_x_test.cpp may use the toolkit like platform/ui/qt_x.cpp.
const std::vector<Layer>& Layers() {
  static const std::vector<Layer> layers = {
      // The platform: value types at the bottom; the record-set layer, the canvas, the
      // file writers and the controls on them. The toolkit and the three file libraries stay
      // in their own files.
      {"platform/core/", {"std", "platform/core/"}},
      // GBK sort keys take their code table from the system's character conversion.
      {"platform/core/gbk_order.", {"system"}},
      {"platform/db/", {"std", "system", "platform/core/", "platform/db/"}},
      {"platform/db/mdb_table_reader.", {"mdbtools"}},
      {"platform/gfx/", {"std", "platform/core/", "platform/gfx/"}},
      {"platform/gfx/qt_", {"Qt"}},
      {"platform/gfx/jpeg.", {"libjpeg"}},
      {"platform/io/", {"std", "system", "platform/core/", "platform/io/"}},
      {"platform/io/xlsx_", {"libxlsxwriter"}},
      {"platform/ui/", {"std", "system", "platform/core/", "platform/gfx/", "platform/ui/"}},
      {"platform/ui/qt_", {"Qt"}},
      // Above the platform: portable code, which reaches the system only through platform/.
      {"flat/", {"std", "platform/", "flat/"}},
      {"treelist/", {"std", "platform/", "treelist/"}},
      {"dbgrid/", {"std", "platform/", "treelist/", "dbgrid/"}},
      {"app/", {"std", "platform/", "flat/", "treelist/", "dbgrid/", "app/"}},
      // Programs beside the application: the Access file writer and the generators work on
      // files and values only; the benchmarks may measure any layer of the program, side by
      // side with the peers a developer would otherwise pick (SQLite; Qt's table view).
      {"tools/", {"std", "system", "platform/core/", "platform/db/", "tools/"}},
      {"bench/",
       {"std", "system", "platform/", "flat/", "treelist/", "dbgrid/", "app/", "tools/", "bench/",
        "Google Benchmark", "SQLite", "Qt"}},
      // Tests see what the code they test sees (by mirroring), the shared support and each
      // other's fixtures, the file writer that makes their Access files, and the system.
      {"tests/", {"std", "system", "GoogleTest", "tools/", "tests/"}},
      {"tests/support/", {"platform/"}},
      // The picture tests encode their JPEG input with the library the reader decodes it with.
      {"tests/platform/gfx/bitmap_test.", {"libjpeg"}},
  };
  return layers;
}

// Walls inside a folder: files starting with one of `files` (but none starting with an
// `except` prefix) may not include the headers of `hidden`, although their folder's row lets
// them see the folder.
struct Wall {
  std::vector<std::string_view> files;
  std::vector<std::string_view> hidden;
  std::vector<std::string_view> except;
  std::string_view why;
};

// The tree-list core is a host (treelist_core.h) and four collaborators; each collaborator's
// files and the headers only it may include.
const std::vector<std::string_view> kNodeStoreFiles = {
    "treelist/node_store.", "treelist/visible_row_cache.", "treelist/node_pool.",
    "treelist/treelist_node."};
const std::vector<std::string_view> kNodeStoreHeaders = {
    "treelist/node_store.h", "treelist/visible_row_cache.h", "treelist/node_pool.h"};
const std::vector<std::string_view> kGeometryFiles = {
    "treelist/treelist_geometry.", "treelist/treelist_layout.", "treelist/treelist_scroll.",
    "treelist/treelist_hittest.", "treelist/width_sharing.", "treelist/treelist_metrics.",
    "treelist/layout_frame_cache."};
const std::vector<std::string_view> kGeometryHeaders = {
    "treelist/treelist_geometry.h", "treelist/width_sharing.h", "treelist/layout_frame_cache.h"};
const std::vector<std::string_view> kInputFiles = {
    "treelist/treelist_input", "treelist/treelist_mouse.", "treelist/treelist_sizing.",
    "treelist/treelist_hot_track.", "treelist/treelist_best_width.",
    "treelist/header_drop_target.", "treelist/anchor_scroll.", "treelist/treelist_header_drag.",
    "treelist/input_timers.", "treelist/treelist_anchor_mode.",
    "treelist/treelist_node_drag.", "treelist/node_drag_object."};
const std::vector<std::string_view> kInputHeaders = {
    "treelist/treelist_input.h", "treelist/press_record.h", "treelist/treelist_requests.h"};
const std::vector<std::string_view> kPainterFiles = {
    "treelist/treelist_paint", "treelist/rows_painter.", "treelist/paint_pass.",
    "treelist/paint_primitives.", "treelist/drop_arrows.", "treelist/anchor_picture."};
const std::vector<std::string_view> kPainterHeaders = {
    "treelist/treelist_painter.h", "treelist/rows_painter.h", "treelist/paint_pass.h"};

std::vector<std::string_view> Joined(
    std::initializer_list<std::vector<std::string_view>> lists) {
  std::vector<std::string_view> all;
  for (const auto& list : lists) all.insert(all.end(), list.begin(), list.end());
  return all;
}

const std::vector<Wall>& Walls() {
  static const std::vector<Wall> walls = {
      // The tree-list core and its collaborators read bands and columns through the model
      // queries and ask for changes through requests; only the control that owns the band
      // and column objects (and the programs that build grids) touch them.
      {{"treelist/"},
       {"treelist/treelist_band.h", "treelist/treelist_column.h", "treelist/treelist_control.h"},
       {"treelist/treelist_band.", "treelist/treelist_column.", "treelist/treelist_control",
        "treelist/treelist_drop_down_columns.", "treelist/gallery/"},
       "the tree-list core reaches bands and columns only through the model queries"},
      // The collaborators meet only in the host: each asks the grid's public members, never
      // another collaborator's insides.
      {kNodeStoreFiles, Joined({kGeometryHeaders, kInputHeaders, kPainterHeaders}), {},
       "the node store knows nothing of layout, input or painting"},
      {kGeometryFiles, Joined({kNodeStoreHeaders, kInputHeaders, kPainterHeaders}), {},
       "the geometry asks the grid for nodes and never sees input or painting"},
      {kInputFiles, Joined({kNodeStoreHeaders, kGeometryHeaders, kPainterHeaders}), {},
       "the input side asks the grid, never the node store, the geometry or the painter"},
      {kPainterFiles, Joined({kNodeStoreHeaders, kGeometryHeaders, kInputHeaders}), {},
       "the painter draws the grid's layout snapshot and never sees the other collaborators"},
  };
  return walls;
}

// The folders at the top of the tree that hold code; an include path starting with one of
// them is taken from the root.
constexpr std::array<std::string_view, 8> kTopFolders = {"platform", "flat", "treelist", "dbgrid",
                                                         "app", "tools", "bench", "tests"};

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// The outside library an angle-bracket header belongs to, or "" when the table knows none.
std::string LibraryOf(const std::string& header) {
  static const std::regex cppStd(
      "algorithm|any|array|atomic|barrier|bit|bitset|charconv|chrono|codecvt|compare|complex|"
      "concepts|condition_variable|coroutine|deque|exception|execution|expected|filesystem|format|"
      "forward_list|fstream|functional|future|initializer_list|iomanip|ios|iosfwd|iostream|"
      "istream|iterator|latch|limits|list|locale|map|memory|memory_resource|mutex|new|numbers|"
      "numeric|optional|ostream|queue|random|ranges|ratio|regex|scoped_allocator|semaphore|set|"
      "shared_mutex|source_location|span|sstream|stack|stdexcept|stop_token|streambuf|string|"
      "string_view|syncstream|system_error|thread|tuple|type_traits|typeindex|typeinfo|"
      "unordered_map|unordered_set|utility|valarray|variant|vector|version|"
      "c(assert|ctype|errno|fenv|float|inttypes|limits|locale|math|setjmp|signal|stdarg|stddef|"
      "stdint|stdio|stdlib|string|time|uchar|wchar|wctype)|"
      "(assert|ctype|errno|float|inttypes|limits|locale|math|setjmp|signal|stdarg|stddef|stdint|"
      "stdio|stdlib|string|time|wchar)\\.h");
  static const std::regex system(
      "(unistd|fcntl|poll|strings|dirent|pthread|dlfcn|spawn|iconv|cxxabi|execinfo)\\.h|sys/.+");
  static const std::regex qt("Qt[A-Za-z]*(/.*)?|Q[A-Z][A-Za-z0-9]*|q[a-z0-9_]+\\.h");
  if (std::regex_match(header, cppStd)) return "std";
  if (std::regex_match(header, system)) return "system";
  if (std::regex_match(header, qt)) return "Qt";
  if (std::regex_match(header, std::regex("jpeglib\\.h|jerror\\.h|jconfig\\.h|jmorecfg\\.h")))
    return "libjpeg";
  if (std::regex_match(header, std::regex("mdbtools\\.h|mdbsql\\.h|mdbfakeglib\\.h")))
    return "mdbtools";
  if (header == "xlsxwriter.h" || StartsWith(header, "xlsxwriter/")) return "libxlsxwriter";
  if (StartsWith(header, "gtest/") || StartsWith(header, "gmock/")) return "GoogleTest";
  if (StartsWith(header, "benchmark/")) return "Google Benchmark";
  if (header == "sqlite3.h") return "SQLite";
  return "";
}

// What one include reaches: a file of the tree (its path from the root) or a library name.
struct Reach {
  std::string path;
  std::string library;
};

// `file` is the including file's path from the root; `written` the include as written,
// brackets or quotes included. A quoted path that starts with a top folder is taken from the
// root; any other quoted path from the including file's folder, and it must exist there (a
// quoted outside header is a library like an angle-bracket one).
Reach Resolve(const fs::path& root, const std::string& file, const std::string& written) {
  std::string name = written.substr(1, written.size() - 2);
  if (written.front() == '"') {
    std::string top = name.substr(0, name.find('/'));
    if (name.find('/') != std::string::npos &&
        std::find(kTopFolders.begin(), kTopFolders.end(), top) != kTopFolders.end())
      return {name, ""};
    fs::path local = (fs::path(file).parent_path() / name).lexically_normal();
    if (fs::exists(root / local)) return {local.generic_string(), ""};
  }
  std::string library = LibraryOf(name);
  return {"", library.empty() ? "an unknown library (" + name + ")" : library};
}

// Everything the rows covering `file` let it see; empty when no row covers it.
std::vector<std::string_view> SeenBy(const std::string& file) {
  std::vector<std::string_view> seen;
  auto add = [&](std::string_view path) {
    for (const Layer& layer : Layers())
      if (StartsWith(path, layer.files)) seen.insert(seen.end(), layer.sees.begin(), layer.sees.end());
  };
  add(file);
  if (StartsWith(file, "tests/")) add(std::string_view(file).substr(6));
  return seen;
}

// "" when `file` may include `written`, else why not.
std::string Verdict(const fs::path& root, const std::string& file, const std::string& written) {
  std::vector<std::string_view> seen = SeenBy(file);
  if (seen.empty()) return "no row of the layer table covers this folder";
  Reach reach = Resolve(root, file, written);
  for (const Wall& wall : Walls()) {
    if (std::none_of(wall.files.begin(), wall.files.end(),
                     [&](std::string_view prefix) { return StartsWith(file, prefix); }))
      continue;
    if (std::any_of(wall.except.begin(), wall.except.end(),
                    [&](std::string_view prefix) { return StartsWith(file, prefix); }))
      continue;
    if (std::find(wall.hidden.begin(), wall.hidden.end(), reach.path) != wall.hidden.end())
      return std::string(wall.why);
  }
  for (std::string_view s : seen) {
    bool folder = s.back() == '/';
    if (folder ? StartsWith(reach.path, s) : reach.library == s) return "";
  }
  return "its layer may not see " + (reach.library.empty() ? reach.path : reach.library);
}

bool IsSource(const fs::path& p) {
  static const std::array<std::string_view, 6> exts = {".h", ".hpp", ".ipp", ".c", ".cc", ".cpp"};
  return std::find(exts.begin(), exts.end(), p.extension().string()) != exts.end();
}

// Build folders (they hold a CMakeCache.txt), hidden folders and npm packages hold no code of
// ours.
bool Skipped(const fs::path& dir) {
  std::string name = dir.filename().string();
  return name.empty() || name[0] == '.' || name == "node_modules" || fs::exists(dir / "CMakeCache.txt");
}

const fs::path kRoot = QUILLON_SOURCE_DIR;

TEST(LayerRules, TableDecidesEachKindOfInclude) {
  struct Case {
    const char* file;
    const char* include;
    bool allowed;
  };
  const Case cases[] = {
      {"platform/core/variant.cpp", "<string>", true},
      {"platform/core/variant.cpp", "<unistd.h>", false},
      {"platform/core/variant.cpp", "\"platform/gfx/bitmap.h\"", false},
      {"platform/ui/qt_native_edit.cpp", "<QLineEdit>", true},
      {"platform/ui/qt_keys.h", "<Qt>", true},
      {"platform/ui/form.cpp", "<QWidget>", false},
      {"platform/gfx/qt_text_faces.cpp", "<QFont>", true},
      {"platform/gfx/canvas.cpp", "<QPainter>", false},
      {"platform/gfx/jpeg.cpp", "<jpeglib.h>", true},
      {"platform/gfx/bitmap.cpp", "<jpeglib.h>", false},
      {"platform/db/mdb_table_reader.cpp", "<mdbtools.h>", true},
      {"platform/db/mdb_table_source.cpp", "<mdbtools.h>", false},
      {"platform/db/mdb_table_source.cpp", "\"mdbtools.h\"", false},
      {"platform/io/xlsx_sheet_writer.cpp", "<xlsxwriter.h>", true},
      {"platform/io/xlsx_sheet_writer.cpp", "<xlsxwriter/worksheet.h>", true},
      {"platform/io/file_replacement.cpp", "<xlsxwriter.h>", false},
      {"platform/io/file_replacement.cpp", "\"platform/ui/control.h\"", false},
      {"app/result_xlsx.cpp", "<xlsxwriter.h>", false},
      {"app/result_xlsx.cpp", "\"platform/io/xlsx_sheet_writer.h\"", true},
      {"platform/ui/control.cpp", "\"flat/flat_edit.h\"", false},
      {"platform/ui/control.cpp", "\"app/about.h\"", false},
      {"platform/db/dataset.cpp", "\"treelist/treelist.h\"", false},
      {"platform/gfx/canvas.cpp", "\"dbgrid/dbgrid.h\"", false},
      {"treelist/treelist.cpp", "\"platform/ui/control.h\"", true},
      {"treelist/treelist.cpp", "\"flat/flat_edit.h\"", false},
      {"treelist/treelist.cpp", "\"dbgrid/dbgrid.h\"", false},
      {"treelist/treelist_mouse.cpp", "\"treelist/treelist_column.h\"", false},
      {"treelist/treelist_sizing.cpp", "\"treelist/treelist_band.h\"", false},
      {"treelist/treelist_paint.cpp", "\"treelist/treelist_control.h\"", false},
      {"treelist/treelist_mouse.cpp", "\"treelist/treelist_core.h\"", true},
      {"treelist/treelist_mouse.cpp", "\"treelist/rows_painter.h\"", false},
      {"treelist/treelist_paint_rows.cpp", "\"treelist/treelist_input.h\"", false},
      {"treelist/treelist_paint_rows.cpp", "\"treelist/rows_painter.h\"", true},
      {"treelist/node_store.cpp", "\"treelist/treelist_geometry.h\"", false},
      {"treelist/treelist_layout.cpp", "\"treelist/node_store.h\"", false},
      {"treelist/treelist_core.cpp", "\"treelist/node_store.h\"", true},
      {"treelist/treelist_control_queries.cpp", "\"treelist/treelist_column.h\"", true},
      {"treelist/treelist_column.cpp", "\"treelist/treelist_band.h\"", true},
      {"treelist/gallery/gallery_grids.h", "\"treelist/treelist_control.h\"", true},
      {"dbgrid/dbgrid.cpp", "\"treelist/treelist_column.h\"", true},
      {"tests/treelist/treelist_mouse_test.cpp", "\"treelist/treelist_column.h\"", true},
      {"dbgrid/dbgrid.cpp", "\"treelist/treelist.h\"", true},
      {"dbgrid/dbgrid.cpp", "\"platform/db/dataset.h\"", true},
      {"dbgrid/dbgrid.cpp", "\"flat/flat_edit.h\"", false},
      {"flat/flat_edit.cpp", "\"platform/ui/control.h\"", true},
      {"flat/flat_edit.cpp", "\"treelist/treelist.h\"", false},
      {"flat/flat_edit.cpp", "<QLineEdit>", false},
      {"flat/flat_edit.cpp", "<unistd.h>", false},
      {"app/search_form2.cpp", "\"dbgrid/dbgrid.h\"", true},
      {"app/search_form2.cpp", "\"flat/flat_edit.h\"", true},
      {"app/search_form2.cpp", "<QApplication>", false},
      {"tools/mdb_writer.cpp", "\"platform/ui/control.h\"", false},
      {"tests/flat/flat_edit_test.cpp", "\"flat/flat_edit.h\"", true},
      {"tests/flat/flat_edit_test.cpp", "\"tests/support/test_form.h\"", true},
      {"tests/flat/flat_edit_test.cpp", "\"app/about.h\"", false},
      {"tests/treelist/treelist_test.cpp", "\"flat/flat_edit.h\"", false},
      {"tests/platform/ui/qt_bridge_test.cpp", "<QWidget>", true},
      {"tests/platform/ui/messages_test.cpp", "<QWidget>", false},
      {"tests/platform/db/mdb_file_test.cpp", "\"tools/mdb_writer.h\"", true},
      {"tests/platform/gfx/bitmap_test.cpp", "<jpeglib.h>", true},
      {"flat/flat_edit.cpp", "\"../platform/ui/control.h\"", true},
      {"platform/ui/control.cpp", "\"../../flat/flat_edit.h\"", false},
      {"bench/recordset_bench.cpp", "<sqlite3.h>", true},
      {"bench/treelist_bench.cpp", "\"treelist/treelist.h\"", true},
      {"flat/flat_edit.cpp", "<boost/any.hpp>", false},
      {"notes/x.cpp", "<string>", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Verdict(kRoot, c.file, c.include).empty(), c.allowed)
        << c.file << " includes " << c.include << ": " << Verdict(kRoot, c.file, c.include);
}

TEST(LayerRules, EveryFileOfTheTreeKeepsToItsLayer) {
  const std::regex includeLine(R"(^\s*#\s*include\s*([<"][^>"]+[>"]))");
  std::vector<std::string> offenders;
  for (auto it = fs::recursive_directory_iterator(kRoot); it != fs::recursive_directory_iterator(); ++it) {
    if (it->is_directory()) {
      if (Skipped(it->path())) it.disable_recursion_pending();
      continue;
    }
    if (!IsSource(it->path())) continue;
    std::string file = it->path().lexically_relative(kRoot).generic_string();
    std::ifstream in(it->path());
    std::string line;
    std::smatch m;
    for (int number = 1; std::getline(in, line); ++number) {
      if (!std::regex_search(line, m, includeLine)) continue;
      std::string why = Verdict(kRoot, file, m[1]);
      if (!why.empty()) offenders.push_back(file + ":" + std::to_string(number) + ": #include " + m[1].str() + ": " + why);
    }
  }
  std::string list;
  for (const std::string& o : offenders) list += o + "\n";
  EXPECT_TRUE(offenders.empty()) << list;
}

}  // namespace
