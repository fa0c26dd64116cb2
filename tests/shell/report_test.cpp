#include "shell/report.h"

#include <gtest/gtest.h>

namespace tolmex::shell {
namespace {

struct RecordingObserver : Report::Observer {
  int replaced = 0;
  std::vector<std::size_t> appended;
  std::string editorText;
  int asked = 0;
  void TextReplaced() override { ++replaced; }
  void TextAppended(std::size_t from) override { appended.push_back(from); }
  std::string EditedText() override {
    ++asked;
    return editorText;
  }
};

TEST(Report, AppendTellsWhereTheNewPartStartsAndMarksChanged) {
  Report r;
  RecordingObserver obs;
  r.SetObserver(&obs);
  r.AppendText("ab\r\n");
  r.AppendText("");
  r.AppendText("cde");
  EXPECT_EQ(r.Text(), "ab\r\ncde");
  EXPECT_EQ(obs.appended, (std::vector<std::size_t>{0, 4}));
  EXPECT_TRUE(r.Alterado);
}

TEST(Report, ReplacingByTheSameTextIsNoChange) {
  Report r;
  r.ClearText();
  EXPECT_FALSE(r.Alterado);
  r.SetText("x");
  EXPECT_TRUE(r.Alterado);
  r.Alterado = false;
  r.SetText("x");
  EXPECT_FALSE(r.Alterado);
  r.ClearText();
  EXPECT_TRUE(r.Alterado);
  EXPECT_EQ(r.Text(), "");
}

TEST(Report, TextEditedInTheWindowIsFetchedOnceAndAppendedTo) {
  Report r;
  RecordingObserver obs;
  r.SetObserver(&obs);
  r.SetText("old");
  r.Alterado = false;
  obs.editorText = "typed\r\n";
  r.MarkEdited(true);
  EXPECT_TRUE(r.Alterado);
  EXPECT_EQ(r.Text(), "typed\r\n");
  EXPECT_EQ(r.Text(), "typed\r\n");
  EXPECT_EQ(obs.asked, 1);
  obs.editorText = "ignored";
  r.MarkEdited(false);
  r.AppendText("more");
  EXPECT_EQ(obs.asked, 2);
  EXPECT_EQ(r.Text(), "ignoredmore");
  EXPECT_EQ(obs.appended.back(), 7u);
}

}  // namespace
}  // namespace tolmex::shell
