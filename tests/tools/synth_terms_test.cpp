// Synthetic terminologies: the shape of every row, determinism, and files mdbtools reads back
// row for row.
#include "tools/synth_terms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/core/exception.h"
#include "platform/core/utf8.h"
#include "tests/tools/mdbtools_reader.h"
#include "tools/terminology_schema.h"

namespace {

bool AllOf(const std::string& text, const char* allowed) {
  return text.find_first_not_of(allowed) == std::string::npos;
}

TEST(SynthTerms, EveryTermHasTheShapeOfARealOne) {
  const TSynthTerminology terms = SynthTerminology(10000, 7);
  std::set<std::string> codes;
  for (const TMdbRow& system : terms.Ljxt) codes.insert(*system[ljxSID]);
  ASSERT_EQ(terms.Ljxt.size(), 30u);
  ASSERT_EQ(codes.size(), 30u);
  for (const std::string& code : codes) EXPECT_TRUE(code.size() == 4 && AllOf(code, "0123456789")) << code;

  std::set<std::string> tids;
  size_t withApostrophe = 0, withComma = 0, systemCounts[4] = {};
  for (const TMdbRow& term : terms.Whoart) {
    ASSERT_EQ(term.size(), size_t(whoColumnCount));
    const std::string& py = *term[whoPY];
    const std::u32string name = Utf8ToUtf32(*term[whoNAME]);
    EXPECT_TRUE(py.size() >= 2 && py.size() <= 8 && AllOf(py, "ABCDEFGHIJKLMNOPQRSTUVWXYZ")) << py;
    EXPECT_EQ(name.size(), py.size()) << "one pinyin initial per character: " << py;
    EXPECT_TRUE(std::all_of(name.begin(), name.end(), [](char32_t c) { return c >= 0x4E00 && c <= 0x9FFF; }));
    const std::string& ename = *term[whoENAME];
    EXPECT_TRUE(!ename.empty() && AllOf(ename, "ABCDEFGHIJKLMNOPQRSTUVWXYZ '-,")) << ename;
    withApostrophe += ename.find('\'') != std::string::npos;
    withComma += ename.find(',') != std::string::npos;

    EXPECT_TRUE(tids.insert(*term[whoTID]).second) << "duplicate TID " << *term[whoTID];
    EXPECT_TRUE(term[whoTID]->size() == 4 && AllOf(*term[whoTID], "0123456789")) << *term[whoTID];

    ASSERT_TRUE(term[whoSID1]);
    EXPECT_TRUE(term[whoSID2] || !term[whoSID3]) << "SID3 without SID2";
    std::set<std::string> own;
    for (int k = whoSID1; k <= whoSID3; ++k) {
      if (!term[k]) continue;
      EXPECT_TRUE(codes.count(*term[k])) << *term[k];
      own.insert(*term[k]);
    }
    const size_t count = 1 + bool(term[whoSID2]) + bool(term[whoSID3]);
    EXPECT_EQ(own.size(), count) << "organ systems of a term are different";
    ++systemCounts[count];
  }
  EXPECT_GT(withApostrophe, 0u);
  EXPECT_GT(withComma, 0u);
  for (int count = 1; count <= 3; ++count) EXPECT_GT(systemCounts[count], 0u) << count << " organ systems";
}

TEST(SynthTerms, TidsWidenPastTenThousandTermsAndStayUnique) {
  const struct { size_t count; size_t digits; } cases[] = {{1, 4}, {10000, 4}, {10001, 5}, {100000, 5}, {100001, 6}};
  for (const auto& c : cases) {
    const TSynthTermGenerator generator(c.count, kSynthDefaultSeed);
    std::set<std::string> tids;
    for (size_t i = 0; i < c.count; ++i) {
      const std::string tid = *generator.Term(i)[whoTID];
      EXPECT_EQ(tid.size(), c.digits) << c.count << " terms: " << tid;
      tids.insert(tid);
    }
    EXPECT_EQ(tids.size(), c.count);
  }
}

TEST(SynthTerms, SameSeedSameRowsInAnyOrderOtherSeedOtherRows) {
  const TSynthTerminology a = SynthTerminology(10000, 42);
  EXPECT_TRUE(a.Whoart == SynthTerminology(10000, 42).Whoart);
  EXPECT_FALSE(a.Whoart == SynthTerminology(10000, 43).Whoart);
  const TSynthTermGenerator generator(10000, 42);
  for (size_t i : {size_t(9999), size_t(0), size_t(5000)}) EXPECT_EQ(generator.Term(i), a.Whoart[i]) << i;
  EXPECT_THROW(TSynthTermGenerator(0, 1), EInvalidOperation);
}

class SynthMdb : public ::testing::TestWithParam<size_t> {};

TEST_P(SynthMdb, MdbtoolsReadsBackEveryRow) {
  const size_t count = GetParam();
  TScratchDir dir;
  const auto file = dir / "synth.mdb";
  WriteSynthMdb(file, count, 11);
  const TSynthTerminology expected = SynthTerminology(count, 11);

  EXPECT_EQ(ListTables(file), (std::vector<std::string>{"WHOART", "LJXT"}));
  const TExportedTable whoart = ExportTable(file, "WHOART");
  EXPECT_EQ(whoart.ColumnNames, (std::vector<std::string>{"PY", "NAME", "ENAME", "TID", "SID1", "SID2", "SID3"}));
  EXPECT_EQ(whoart.Rows.size(), count);
  EXPECT_TRUE(whoart.Rows == expected.Whoart) << "WHOART rows differ";
  const TExportedTable ljxt = ExportTable(file, "LJXT");
  EXPECT_EQ(ljxt.ColumnNames, (std::vector<std::string>{"SID", "NAME", "ENAME"}));
  EXPECT_TRUE(ljxt.Rows == expected.Ljxt) << "LJXT rows differ";
}

// 10k terms fit an inline usage map; 100k need a reference map.
INSTANTIATE_TEST_SUITE_P(Sizes, SynthMdb, ::testing::Values(size_t(10000), size_t(100000)));

}  // namespace
