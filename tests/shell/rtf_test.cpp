#include "shell/rtf.h"

#include <gtest/gtest.h>

#include <string>

namespace tolmex::shell {
namespace {

CharFormat Fmt(std::string font, double size, bool b = false, bool i = false, bool u = false,
               Rgb color = {}) {
  CharFormat f;
  f.font = std::move(font);
  f.size = size;
  f.bold = b;
  f.italic = i;
  f.underline = u;
  f.color = color;
  return f;
}

Paragraph Para(std::vector<TextRun> runs, Alignment a = Alignment::Left, bool bullet = false) {
  Paragraph p;
  p.runs = std::move(runs);
  p.alignment = a;
  p.bullet = bullet;
  return p;
}

struct RoundTripCase {
  const char* name;
  RichDocument doc;
};

std::vector<RoundTripCase> RoundTripCases() {
  const CharFormat mono = Fmt("Courier New", 8);
  return {
      {"report_lines_with_accents",
       RichDocument::FromPlainText("Análise de variância\r\n\r\nFV       GL   SQ\r\nBlocos    3   1.25\r\n", mono)},
      {"special_characters",
       RichDocument::FromPlainText("chaves {a} e barra \\ e tab\there; € “aspas” — ç", mono)},
      {"outside_the_basic_plane", RichDocument::FromPlainText("α β 𝛼 😀 fim", mono)},
      {"styles_fonts_colours",
       {{Para({{"negrito ", Fmt("Arial", 14, true)},
               {"itálico ", Fmt("Arial", 14, false, true)},
               {"sublinhado ", Fmt("Times New Roman", 18, false, false, true)},
               {"vermelho", Fmt("Courier New", 10, true, true, true, {255, 0, 0})}}),
         Para({{"azul", Fmt("Courier New", 10.5, false, false, false, {0, 0, 200})}})}}},
      {"alignment_and_bullets",
       {{Para({{"centro", mono}}, Alignment::Center), Para({{"direita", mono}}, Alignment::Right),
         Para({{"justificado", mono}}, Alignment::Justify),
         Para({{"item um", mono}}, Alignment::Left, true),
         Para({{"item dois", mono}}, Alignment::Left, true), Para({{"normal", mono}})}}},
      {"empty_paragraphs_and_trailing_break", RichDocument::FromPlainText("\r\n\r\na\r\n\r\n", mono)},
      {"digits_after_escapes", RichDocument::FromPlainText("ã1 é2 ü 3", mono)},
  };
}

TEST(Rtf, RoundTripKeepsTextAndFormatting) {
  for (const auto& c : RoundTripCases()) {
    SCOPED_TRACE(c.name);
    const std::string rtf = WriteRtf(c.doc);
    for (unsigned char ch : rtf) ASSERT_LT(ch, 0x80) << "RTF must be 7-bit";
    EXPECT_TRUE(LooksLikeRtf(rtf));
    const RichDocument back = ReadRtf(rtf);
    EXPECT_EQ(back.PlainText(), c.doc.PlainText());
    EXPECT_EQ(back, c.doc);
  }
}

TEST(Rtf, AccentsAreWrittenAsUnicodeEscapes) {
  const std::string rtf = WriteRtf(RichDocument::FromPlainText("ção 😀"));
  EXPECT_NE(rtf.find("\\u231?\\u227?o"), std::string::npos) << rtf;
  // U+1F600 as a surrogate pair of signed 16-bit values.
  EXPECT_NE(rtf.find("\\u-10179?\\u-8704?"), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("Courier New;"), std::string::npos);
}

TEST(Rtf, ReadsWhatOtherWordProcessorsWrite) {
  // Code-page bytes, a font table with embedded groups, a style sheet, information and
  // generator groups, \uc0 and \uc1 escapes, a field, old-style and list bullets, \line.
  const std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman{\\*\\panose 02020603050405020304}"
      "Times New Roman;}{\\f1\\fmodern\\fprq1 Courier New;}{\\f2\\fnil\\fcharset2 Symbol;}}"
      "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}"
      "{\\stylesheet{\\s0 Normal;}}{\\info{\\title T\\'edtulo}{\\author X}}{\\*\\generator Y;}"
      "\\pard\\plain\\f1\\fs20 Observa\\'e7\\'f5es\\par\n"
      "\\pard\\qc{\\b\\cf1 Tabela}\\~{\\i\\cf2 1}\\par\n"
      "{\\uc0\\u231\\u227}{\\uc1\\u233 e}\\line nova\\par\n"
      "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}\\par\n"
      "{\\pntext\\f2\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf2{\\pntxtb\\'B7}}\\fi-360\\li360 item\\par\n"
      "\\pard{\\listtext\\'95\\tab}\\ls1 lista\\par\n"
      "\\pard \\bin3 {}{fim}";
  const RichDocument doc = ReadRtf(rtf);
  EXPECT_EQ(doc.PlainText(), "Observações\r\nTabela\xC2\xA0" "1\r\nçã\xC3\xA9\r\nnova\r\nlink\r\nitem\r\nlista\r\nfim");
  ASSERT_GE(doc.paragraphs.size(), 8u);
  EXPECT_EQ(doc.paragraphs[0].runs[0].format.font, "Courier New");
  EXPECT_EQ(doc.paragraphs[0].runs[0].format.size, 10);
  EXPECT_EQ(doc.paragraphs[1].alignment, Alignment::Center);
  EXPECT_TRUE(doc.paragraphs[1].runs[0].format.bold);
  EXPECT_EQ(doc.paragraphs[1].runs[0].format.color, (Rgb{255, 0, 0}));
  EXPECT_TRUE(doc.paragraphs[1].runs.back().format.italic);
  EXPECT_EQ(doc.paragraphs[1].runs.back().format.color, (Rgb{0, 128, 0}));
  EXPECT_FALSE(doc.paragraphs[4].bullet);
  EXPECT_TRUE(doc.paragraphs[5].bullet);
  EXPECT_TRUE(doc.paragraphs[6].bullet);
  EXPECT_FALSE(doc.paragraphs[7].bullet);
}

TEST(Rtf, MalformedInputKeepsWhatCouldBeRead) {
  const struct {
    const char* name;
    std::string rtf;
    std::string text;
  } cases[] = {
      {"truncated", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 texto cort", "texto cort"},
      {"unbalanced_close", "{\\rtf1 a}}}b", "a"},
      {"lonely_backslash_at_end", "{\\rtf1 a\\", "a"},
      {"bad_hex", "{\\rtf1 a\\'zz b\\'4}", "azz b"},
      {"huge_numbers", "{\\rtf1\\fs99999999999999999999\\f-99999999999 x\\u999999999?y}", "x\xEF\xBF\xBDy"},
      {"lone_surrogates", "{\\rtf1 \\u-10179?a\\u-8704?b}", "\xEF\xBF\xBD" "a\xEF\xBF\xBD" "b"},
      {"binary_past_end", "{\\rtf1 a\\bin999999 xyz}", "a"},
      {"empty", "", ""},
      {"nul_bytes", std::string("{\\rtf1 a\0b}", 11), "ab"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadRtf(c.rtf).PlainText(), c.text);
  }
}

TEST(Rtf, DeepNestingDoesNotExhaustTheStack) {
  std::string rtf = "{\\rtf1 ";
  rtf += std::string(200000, '{');
  rtf += "fundo";
  rtf += std::string(200000, '}');
  rtf += "}";
  const RichDocument doc = ReadRtf(rtf);
  EXPECT_EQ(doc.PlainText().find("fundo") == std::string::npos, true)
      << "text beyond the depth limit is dropped";
  std::string shallow = "{\\rtf1 " + std::string(100, '{') + "meio" + std::string(100, '}') + "}";
  EXPECT_EQ(ReadRtf(shallow).PlainText(), "meio");
}

TEST(FileData, PlainTextAndCodePagesBecomeDocuments) {
  const CharFormat f = Fmt("Courier New", 8);
  const struct {
    const char* name;
    std::string data;
    std::string text;
  } cases[] = {
      {"utf8_with_bom", "\xEF\xBB\xBFlinha 1\r\nação", "linha 1\r\nação"},
      {"unix_lines", "a\nb\n", "a\r\nb\r\n"},
      {"cp1252", "a\xE7\xE3o \x80", "ação €"},
      {"rtf_after_blanks", "\r\n {\\rtf1 x}", "x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const RichDocument doc = DocumentFromFileData(c.data, f);
    EXPECT_EQ(doc.PlainText(), c.text);
  }
  EXPECT_EQ(DocumentFromFileData("abc", f).paragraphs[0].runs[0].format, f);
  EXPECT_FALSE(LooksLikeRtf("{\\rt"));
  EXPECT_FALSE(LooksLikeRtf("texto {\\rtf1}"));
}

}  // namespace
}  // namespace tolmex::shell
