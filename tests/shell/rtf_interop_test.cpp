// A report saved by the program opens in a common word processor with its text: converted to
// plain text by LibreOffice when it is installed (skipped otherwise).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "shell/file_io.h"
#include "shell/rtf.h"
#include "temp_dir.h"

namespace tolmex::shell {
namespace {

std::string StripListMarks(std::string line) {
  std::size_t i = line.find_first_not_of(" \t");
  line.erase(0, i == std::string::npos ? line.size() : i);
  const std::string bullet = "\xE2\x80\xA2";  // U+2022
  if (line.rfind(bullet, 0) == 0) {
    line.erase(0, bullet.size());
    line.erase(0, line.find_first_not_of(" \t"));
  }
  return line;
}

TEST(RtfInterop, WordProcessorReadsBackTheText) {
  if (std::system("command -v libreoffice >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "libreoffice is not installed";
  testing::TempDir dir;
  CharFormat f;
  f.size = 8;
  RichDocument doc = RichDocument::FromPlainText(
      "Análise de variância\r\n"
      "FV          GL        SQ         QM       Fc    Pr>Fc\r\n"
      "Blocos       3    1.2500     0.4167    2.083   0.1561\r\n"
      "Observações: ç ã é õ € {chaves} \\barra\r\n"
      "item marcado",
      f);
  doc.paragraphs[0].alignment = Alignment::Center;
  doc.paragraphs[0].runs[0].format.bold = true;
  doc.paragraphs[4].bullet = true;
  const std::string rtf = dir.File("relatorio.rtf");
  WriteFileAtomic(rtf, WriteRtf(doc));
  const std::string cmd = "cd '" + dir.path().string() +
                          "' && timeout 300 libreoffice -env:UserInstallation=file://" +
                          dir.File("perfil") +
                          " --headless --convert-to 'txt:Text (encoded):UTF8' --outdir '" +
                          dir.path().string() + "' relatorio.rtf >/dev/null 2>&1";
  const int rc = std::system(cmd.c_str());
  const std::string txt = dir.File("relatorio.txt");
  if (rc != 0 || !std::filesystem::exists(txt))
    GTEST_SKIP() << "libreoffice could not convert (no text-document filter installed?)";
  std::string out = ReadWholeFile(txt);
  if (out.rfind("\xEF\xBB\xBF", 0) == 0) out.erase(0, 3);
  std::istringstream lines(out);
  std::string got;
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    got += StripListMarks(line) + "\n";
  }
  EXPECT_EQ(got,
            "Análise de variância\n"
            "FV          GL        SQ         QM       Fc    Pr>Fc\n"
            "Blocos       3    1.2500     0.4167    2.083   0.1561\n"
            "Observações: ç ã é õ € {chaves} \\barra\n"
            "item marcado\n");
}

}  // namespace
}  // namespace tolmex::shell
