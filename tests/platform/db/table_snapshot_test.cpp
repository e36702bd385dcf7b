// Snapshots: values and nulls per kind, the folded sorted index, and the byte form that
// carries a table out of the reader process.
#include <gtest/gtest.h>

#include "platform/db/db_error.h"
#include "platform/db/snapshot_codec.h"
#include "platform/db/snapshot_index.h"
#include "tests/platform/db/db_test_util.h"

namespace {

std::shared_ptr<TTableSnapshot> mixedTable() {
  auto t = std::make_shared<TTableSnapshot>(
      "MIXED", std::vector<TSnapshotColumnDef>{{"TXT", ftWideString, 20},
                                               {"NUM", ftInteger, 0},
                                               {"AMOUNT", ftCurrency, 0},
                                               {"WHEN", ftDateTime, 0},
                                               {"FLAG", ftBoolean, 0}});
  t->AppendRow({Variant("abc"), Variant(1), Variant::CurrencyScaled(12345), Variant::Date(45000.5), Variant(true)});
  t->AppendRow({Variant::Null(), Variant::Null(), Variant::Null(), Variant::Null(), Variant(false)});
  t->AppendRow({Variant(""), Variant("42"), Variant(2.5), Variant("2020-01-02"), Variant(1)});
  return t;
}

std::vector<uint32_t> rows(std::span<const uint32_t> s) { return {s.begin(), s.end()}; }

TEST(TableSnapshotTest, KeepsValuesAndNullsOfEveryKind) {
  auto t = mixedTable();
  ASSERT_EQ(t->RowCount(), 3u);
  EXPECT_EQ(t->FindColumn("when"), 3);
  EXPECT_EQ(t->FindColumn("nope"), -1);
  const TSnapshotColumn& txt = t->Column(0);
  EXPECT_EQ(txt.Text(0), "abc");
  EXPECT_TRUE(txt.IsNull(1));
  EXPECT_FALSE(txt.IsNull(2));  // empty text is not null
  EXPECT_EQ(txt.Value(2).AsString(), "");
  EXPECT_EQ(t->Column(1).Value(2).VarType(), varInteger);  // converted to the column's kind
  EXPECT_EQ(t->Column(1).Value(2).AsInteger(), 42);
  EXPECT_TRUE(t->Column(1).Value(1).IsNull());
  EXPECT_EQ(t->Column(2).Value(2).AsCurrencyScaled(), 25000);
  EXPECT_EQ(t->Column(3).Value(2).AsString(), "2020-01-02");
  EXPECT_FALSE(t->Column(4).Value(1).AsBoolean());
  EXPECT_THROW(t->AppendRow({Variant("x")}), EDatabaseError);
  EXPECT_THROW(t->AppendRow({Variant("x"), Variant("not a number"), Variant(), Variant(), Variant()}),
               EVariantError);
}

TEST(TableSnapshotTest, SortedIndexAnswersPrefixesAndEquality) {
  auto t = dbtest::MakeTable("T", {"V"},
                             {{"fever"}, {"FEVER"}, {"Fe"}, {std::nullopt}, {"FEVERISH"},
                              {"ABC"}, {"fever"}, {"发热"}, {"发热感"}, {""}});
  const TSortedTextIndex& index = t->SortedIndex(0);
  EXPECT_EQ(&index, &t->SortedIndex(0));  // built once
  auto sorted = [](std::vector<uint32_t> v) { std::sort(v.begin(), v.end()); return v; };
  EXPECT_EQ(sorted(rows(index.PrefixRun("FE"))), (std::vector<uint32_t>{0, 1, 2, 4, 6}));
  EXPECT_EQ(sorted(rows(index.PrefixRun("FEVER"))), (std::vector<uint32_t>{0, 1, 4, 6}));
  EXPECT_EQ(sorted(rows(index.PrefixRun("发热"))), (std::vector<uint32_t>{7, 8}));
  EXPECT_TRUE(index.PrefixRun("Z").empty());
  EXPECT_EQ(index.PrefixRun("").size(), 9u);  // every non-null row
  // Equal folded values come in row order.
  EXPECT_EQ(rows(index.EqualRun("FEVER")), (std::vector<uint32_t>{0, 1, 6}));
  EXPECT_EQ(rows(index.EqualRun("")), (std::vector<uint32_t>{9}));
  EXPECT_TRUE(index.EqualRun("FEVERI").empty());
}

TEST(TableSnapshotTest, ByteFormRoundTripsAndRejectsDamage) {
  auto t = mixedTable();
  TStringSink sink;
  TSnapshotCodec::Write(*t, sink);
  TStringSource source(sink.Bytes);
  auto back = TSnapshotCodec::Read(source);
  ASSERT_EQ(back->RowCount(), t->RowCount());
  ASSERT_EQ(back->ColumnCount(), t->ColumnCount());
  for (int c = 0; c < t->ColumnCount(); ++c) {
    EXPECT_EQ(back->Column(c).Def().Name, t->Column(c).Def().Name);
    EXPECT_EQ(back->Column(c).Def().DataType, t->Column(c).Def().DataType);
    for (uint32_t r = 0; r < t->RowCount(); ++r) {
      EXPECT_EQ(back->Column(c).IsNull(r), t->Column(c).IsNull(r)) << c << "," << r;
      EXPECT_EQ(back->Column(c).Value(r).VarType(), t->Column(c).Value(r).VarType());
      EXPECT_EQ(back->Column(c).Value(r).AsString(), t->Column(c).Value(r).AsString());
    }
  }
  // Every cut of the bytes and a bad offset table are refused, never read past.
  for (size_t cut = 0; cut < sink.Bytes.size(); cut += 7) {
    TStringSource shorter(std::string_view(sink.Bytes).substr(0, cut));
    EXPECT_THROW(TSnapshotCodec::Read(shorter), EDatabaseError) << cut;
  }
  auto text = dbtest::MakeTable("T", {"V"}, {{"ab"}, {"cd"}});
  TStringSink textSink;
  TSnapshotCodec::Write(*text, textSink);
  std::string damaged = textSink.Bytes;
  size_t ends = damaged.find(std::string("\x02\0\0\0\x04\0\0\0", 8));
  ASSERT_NE(ends, std::string::npos);
  damaged[ends + 4] = 9;  // the second row would end past the arena
  TStringSource damagedSource(damaged);
  EXPECT_THROW(TSnapshotCodec::Read(damagedSource), EDatabaseError);
}

}  // namespace
