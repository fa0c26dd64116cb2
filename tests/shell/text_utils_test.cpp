#include "shell/text_utils.h"

#include <gtest/gtest.h>

#include "shell/number_locale.h"

using namespace tolmex::shell;

TEST(TextUtils, CountsAndCutsCodePoints) {
  EXPECT_EQ(Utf8Length("Média"), 5u);
  EXPECT_EQ(Utf8Left("Número de observações", 6), "Número");
  EXPECT_EQ(Utf8Left("ab", 5), "ab");
  EXPECT_EQ(PadRight("ção", 5), "ção  ");
  EXPECT_EQ(PadLeft("é", 3), "  é");
  EXPECT_EQ(Trim(" \t x y\r\n"), "x y");
}

TEST(TextUtils, ValidatesUtf8) {
  EXPECT_TRUE(IsValidUtf8("Variável analisada"));
  EXPECT_FALSE(IsValidUtf8("\xE9t\xE9"));          // Latin-1
  EXPECT_FALSE(IsValidUtf8("\xC3"));               // truncated
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));           // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));       // surrogate
  EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x8C\xB1"));    // 4-byte
}

TEST(NumberLocaleTest, FromLocaleNames) {
  EXPECT_EQ(NumberLocale::FromLocaleName("pt_BR.UTF-8").decimalSeparator, ',');
  EXPECT_EQ(NumberLocale::FromLocaleName("C").decimalSeparator, '.');
  EXPECT_EQ(NumberLocale::FromLocaleName("POSIX").decimalSeparator, '.');
  EXPECT_EQ(NumberLocale::FromLocaleName("en_US.UTF-8").decimalSeparator, '.');
  EXPECT_EQ(NumberLocale::FromLocaleName("C.UTF-8").decimalSeparator, '.');
  EXPECT_EQ(NumberLocale::FromLocaleName("de_DE@euro").decimalSeparator, ',');
}
