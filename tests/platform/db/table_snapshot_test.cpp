// Snapshots: values and nulls per kind, the folded sorted index, the byte form that carries a
// table out of the reader process, and the changes in place of the memory tables.
#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "platform/db/db_error.h"
#include "platform/db/like_pattern.h"
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
  // A refused row leaves no value behind in the columns before the refusing one.
  t->CheckInvariants();
  t->AppendRow({Variant("next"), Variant(7), Variant(), Variant(), Variant()});
  EXPECT_EQ(t->Column(0).Text(3), "next");
  EXPECT_EQ(t->Column(1).Value(3).AsInteger(), 7);
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

// Random inserts, writes, deletes and appends against a plain list of rows: values, nulls,
// the sorted index, a copy and the byte form must always show the list. Writes and deletes
// leave garbage slots, so the run compacts the columns several times (over 4,096 garbage
// slots on a table of 30 to 60 rows).
TEST(TableSnapshotTest, ChangesInPlaceFollowAListOfRows) {
  using Row = std::vector<std::optional<std::string>>;  // S, W (text), N (integer as text)
  auto t = std::make_shared<TTableSnapshot>(
      "T", std::vector<TSnapshotColumnDef>{{"S", ftString, 10}, {"W", ftWideString, 10}, {"N", ftInteger, 0}});
  std::vector<Row> model;
  std::mt19937 rng(7);
  const std::vector<std::string> words = {"ab", "AB", "b", "", "abc", "发热", "Ab"};
  auto pick = [&](size_t n) { return size_t(rng() % n); };
  auto randomRow = [&] {
    Row row;
    for (int c = 0; c < 2; ++c) row.push_back(pick(5) == 0 ? std::nullopt : std::optional(words[pick(words.size())]));
    row.push_back(pick(4) == 0 ? std::nullopt : std::optional(std::to_string(int(pick(1000)) - 500)));
    return row;
  };
  auto values = [](const Row& row) {
    std::vector<Variant> v;
    for (const auto& cell : row) v.push_back(cell ? Variant(*cell) : Variant::Null());
    return v;
  };
  auto expectModel = [&](const TTableSnapshot& table, const char* what) {
    SCOPED_TRACE(what);
    table.CheckInvariants();
    ASSERT_EQ(table.RowCount(), model.size());
    for (uint32_t r = 0; r < model.size(); ++r)
      for (int c = 0; c < 3; ++c) {
        const TSnapshotColumn& col = table.Column(c);
        ASSERT_EQ(col.RowCount(), model.size());
        ASSERT_EQ(col.IsNull(r), !model[r][c]) << r << "," << c;
        if (c < 2) {
          ASSERT_EQ(col.Text(r), model[r][c].value_or("")) << r << "," << c;
        }
        ASSERT_EQ(col.Value(r).AsString(), model[r][c].value_or("")) << r << "," << c;
      }
  };
  for (int i = 0; i < 20; ++i) {  // built once first, then changed in place
    model.push_back(randomRow());
    t->AppendRow(values(model.back()));
  }
  for (int step = 0; step < 20000; ++step) {
    // 0 append, 1 insert, 2-3 write, 4-5 delete; between 30 and 60 rows.
    const size_t action = model.size() < 30 ? pick(2) : model.size() > 60 ? 2 + pick(4) : pick(6);
    const Row row = randomRow();
    if (action == 0) {
      t->AppendRow(values(row));
      model.push_back(row);
    } else if (action == 1) {
      const uint32_t r = uint32_t(pick(model.size() + 1));
      t->InsertRow(r, values(row));
      model.insert(model.begin() + r, row);
    } else if (action <= 3) {
      const uint32_t r = uint32_t(pick(model.size()));
      t->WriteRow(r, values(row));
      model[r] = row;
    } else {
      const uint32_t r = uint32_t(pick(model.size()));
      t->DeleteRow(r);
      model.erase(model.begin() + r);
    }
    expectModel(*t, "after a change");
    // The index (built at the step before) follows the change: a key's rows, in row order.
    const std::string key = LikeKey(words[pick(words.size())]);
    std::vector<uint32_t> keyRows;
    for (uint32_t r = 0; r < model.size(); ++r)
      if (model[r][0] && LikeKey(*model[r][0]) == key) keyRows.push_back(r);
    ASSERT_EQ(rows(t->SortedIndex(0).EqualRun(key)), keyRows) << key;
    if (step % 500 != 0) continue;
    expectModel(*t->Copy(), "the copy");
    TStringSink sink;
    TSnapshotCodec::Write(*t, sink);
    TStringSource source(sink.Bytes);
    expectModel(*TSnapshotCodec::Read(source), "the byte form");
  }
  // A refused value (N) leaves every kind of change undone, null bits too.
  const std::vector<Variant> refused = {Variant::Null(), Variant("y"), Variant("not a number")};
  EXPECT_THROW(t->InsertRow(0, refused), EVariantError);
  EXPECT_THROW(t->WriteRow(0, refused), EVariantError);
  EXPECT_THROW(t->DeleteRow(uint32_t(model.size())), EDatabaseError);
  EXPECT_THROW(t->InsertRow(uint32_t(model.size() + 1), values(model[0])), EDatabaseError);
  expectModel(*t, "after refusals");
  const Row last = {"x", "y", "1"};
  t->InsertRow(0, values(last));
  model.insert(model.begin(), last);
  expectModel(*t, "a row after refusals");
}

}  // namespace
