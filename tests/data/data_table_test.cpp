#include "data/data_table.h"

#include <gtest/gtest.h>

#include <functional>

#include "shell/number_locale.h"

using namespace tolmex::data;

namespace {
DataTable MakeTable() {
  DataTable t;
  t.AddField({"Trat", FieldType::ftString, 30});
  t.AddField({"Peso", FieldType::ftFloat});
  t.Open();
  for (int i = 0; i < 3; ++i) {
    const int r = t.AppendRow();
    t.SetString(r, 0, "T" + std::to_string(i + 1));
    if (i != 1) t.SetFloat(r, 1, 1.5 * i);
  }
  return t;
}
}  // namespace

TEST(DataTable, CellsAndEmptyCells) {
  tolmex::shell::SetCurrentNumberLocale(tolmex::shell::NumberLocale::Dot());
  DataTable t = MakeTable();
  EXPECT_EQ(t.RecordCount(), 3);
  EXPECT_TRUE(t.IsNull(1, 1));
  EXPECT_EQ(t.AsString(1, 1), "");
  EXPECT_EQ(t.AsFloat(1, 1), 0.0);
  EXPECT_EQ(t.AsString(2, 1), "3");
  EXPECT_EQ(t.AsString(0, 0), "T1");
  EXPECT_THROW(t.AsFloat(0, 0), DataError);
  t.SetString(0, 0, "3,5");
  EXPECT_DOUBLE_EQ(t.AsFloat(0, 0), 3.5);
  t.SetString(0, 0, std::string(40, 'x'));
  EXPECT_EQ(t.GetString(0, 0).size(), 30u);
  EXPECT_EQ(t.FieldIndex("Peso"), 1);
  EXPECT_EQ(t.FieldIndex("peso"), -1);
}

TEST(DataTable, CursorWalksEveryRow) {
  DataTable t = MakeTable();
  int seen = 0;
  for (t.First(); !t.Eof(); t.Next()) {
    ++seen;
    EXPECT_EQ(t.RecNo(), seen);
  }
  EXPECT_EQ(seen, 3);
  t.Close();
  EXPECT_FALSE(t.Active());
  t.Open();
  t.First();
  EXPECT_TRUE(t.Eof());
  EXPECT_EQ(t.RecNo(), 0);
}

TEST(DataTable, PendingEditsArePostedOnMoveAndDroppedOnCancel) {
  DataTable t = MakeTable();
  t.First();
  t.SetCurrentValue(1, std::string("7,25"));
  EXPECT_EQ(t.GetState(), DataTable::State::dsEdit);
  EXPECT_DOUBLE_EQ(t.GetFloat(0, 1), 0.0);  // not yet posted
  EXPECT_DOUBLE_EQ(std::get<double>(t.CurrentValue(1)), 7.25);
  t.Next();
  EXPECT_DOUBLE_EQ(t.GetFloat(0, 1), 7.25);
  EXPECT_THROW(t.SetCurrentValue(1, std::string("abc")), DataError);
  t.Append();
  EXPECT_EQ(t.RecordCount(), 4);
  t.Cancel();
  EXPECT_EQ(t.RecordCount(), 3);
}

TEST(ParseDecimalTest, Cases) {
  EXPECT_EQ(ParseDecimal(" 3,5 "), 3.5);
  EXPECT_EQ(ParseDecimal("-1e3"), -1000.0);
  EXPECT_EQ(ParseDecimal("+2."), 2.0);
  EXPECT_FALSE(ParseDecimal("1,234.5"));
  EXPECT_FALSE(ParseDecimal(""));
  EXPECT_FALSE(ParseDecimal("abc"));
  EXPECT_FALSE(ParseDecimal("nan"));
  EXPECT_FALSE(ParseDecimal("1e"));
}

TEST(DataTable, ChangeStampFollowsEveryChangeButNotCursorMoves) {
  DataTable t = MakeTable();
  auto stamp = t.ChangeCount();
  t.First();
  t.Next();
  t.SetCurrentValue(1, 2.0);  // pending: not a change of the stored table yet
  EXPECT_EQ(t.ChangeCount(), stamp);
  t.Post();
  EXPECT_NE(t.ChangeCount(), stamp);
  const std::vector<std::function<void(DataTable&)>> changes = {
      [](DataTable& x) { x.SetNull(0, 1); },
      [](DataTable& x) { x.SetString(0, 0, "Z"); },
      [](DataTable& x) { x.AppendRow(); },
      [](DataTable& x) { x.DeleteRow(0); },
      [](DataTable& x) { x.RenameField(0, "Tratamento"); },
  };
  for (const auto& change : changes) {
    stamp = t.ChangeCount();
    change(t);
    EXPECT_NE(t.ChangeCount(), stamp);
  }
  EXPECT_EQ(t.FieldName(0), "Tratamento");
  EXPECT_EQ(t.RecordCount(), 3);  // renaming keeps the rows
  // A table moved into another carries a stamp never seen before.
  stamp = t.ChangeCount();
  DataTable other = MakeTable();
  const auto otherStamp = other.ChangeCount();
  t = std::move(other);
  EXPECT_NE(t.ChangeCount(), stamp);
  EXPECT_EQ(t.ChangeCount(), otherStamp);
}
