#include "batch/batch_prompter.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tolmex::batch {
namespace {

using shell::Answer;

TEST(BatchPrompter, BoxesGoToStandardErrorWithTheirLineBreaks) {
  std::ostringstream err;
  BatchPrompter p(err);
  p.Warning("nível de significância errado!\rCorrigido para alpha:=0.05");
  p.Error("a\r\nb");
  EXPECT_EQ(err.str(), "nível de significância errado!\nCorrigido para alpha:=0.05\na\nb\n");
  EXPECT_EQ(p.Shown().size(), 2u);
  EXPECT_TRUE(p.Unforeseen().empty());
}

TEST(BatchPrompter, QuestionsAreAnsweredByTheHandler) {
  std::ostringstream err;
  BatchPrompter p(err);
  p.SetQuestionHandler([](const std::string& text) -> std::optional<Answer> {
    if (text == "Sim?") return Answer::Yes;
    if (text == "Não?") return Answer::No;
    if (text == "OK?") return Answer::Ok;
    return std::nullopt;
  });
  EXPECT_EQ(p.AskYesNo("Sim?", {}), Answer::Yes);
  EXPECT_EQ(p.AskYesNo("Não?", {}), Answer::No);
  EXPECT_EQ(p.AskOkCancel("OK?", {}), Answer::Ok);
  EXPECT_TRUE(p.Unforeseen().empty());
  EXPECT_EQ(err.str(), "Sim? [Sim]\nNão? [Não]\nOK? [OK]\n");
}

TEST(BatchPrompter, UnforeseenQuestionsGiveUpAndAreRecorded) {
  std::ostringstream err;
  BatchPrompter p(err);
  p.SetQuestionHandler([](const std::string& text) -> std::optional<Answer> {
    return Answer::Ok;  // not an answer of a Yes/No question
  });
  EXPECT_EQ(p.AskYesNo("Continuar?", {}), Answer::No);
  EXPECT_EQ(p.AskYesNoCancel("Gravar?", {}), Answer::Cancel);
  BatchPrompter bare(err);
  EXPECT_EQ(bare.AskOkCancel("Abandonar?", {}), Answer::Cancel);
  EXPECT_EQ(p.Unforeseen(), (std::vector<std::string>{"Continuar?", "Gravar?"}));
  EXPECT_EQ(bare.Unforeseen().size(), 1u);
}

TEST(BatchPrompter, InputBoxesAndDialogs) {
  std::ostringstream err;
  BatchPrompter p(err);
  p.SetInputHandler([](const std::string& title, const std::string&,
                       const std::string&) -> std::optional<std::string> {
    if (title == "Entre com K: ") return "500";
    return std::nullopt;
  });
  EXPECT_EQ(p.InputBox("Entre com K: ", "(K > 1):", "100"), "500");
  EXPECT_EQ(p.InputBox("Outro", "?", ""), std::nullopt);
  EXPECT_EQ(p.OpenFile({.title = "Abrir tabela"}), std::nullopt);
  EXPECT_EQ(p.Unforeseen().size(), 2u);
  EXPECT_NE(err.str().find("Entre com K:  (K > 1): [500]\n"), std::string::npos);
}

}  // namespace
}  // namespace tolmex::batch
