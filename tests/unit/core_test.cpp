#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "core/encoding.h"
#include "core/fixed4.h"
#include "core/numbers.h"
#include "core/paths.h"
#include "core/rounding.h"
#include "core/text.h"
#include "support/temp_dir.h"

namespace kavrin {
namespace {

TEST(Rounding, HalvesToEvenAndAwayFromZero) {
  struct Case { long double x; int64_t even, away; };
  const Case cases[] = {
      {0.5L, 0, 1}, {1.5L, 2, 2}, {2.5L, 2, 3}, {-0.5L, 0, -1}, {-2.5L, -2, -3},
      {2.4999L, 2, 2}, {-1.6L, -2, -2}, {7.0L, 7, 7},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Round(c.x), c.even) << static_cast<double>(c.x);
    EXPECT_EQ(RoundHalfAway(c.x), c.away) << static_cast<double>(c.x);
  }
}

TEST(Fixed4, AssignmentRoundsToFourDecimals) {
  Fixed4 a = 1.23456L;
  EXPECT_EQ(a.raw, 12346);
  Fixed4 b = 0.00005L;  // a half: to even
  EXPECT_EQ(b.raw, 0);
  Fixed4 c = a * 2;  // arithmetic in long double, rounded on the way back
  EXPECT_EQ(c.raw, 24692);
  EXPECT_EQ(FormatFixed(Fixed4::FromRaw(-5)), "-0.0005");
  EXPECT_EQ(FormatFixed(Fixed4(12.5L)), "12.5000");
  // Nothing outside the range converts undefined: held at its end, or 0 with no value at all.
  EXPECT_EQ(Fixed4(1e30L), Fixed4(Fixed4::kLimit));
  EXPECT_EQ(Fixed4(-1e30L), Fixed4(-Fixed4::kLimit));
  EXPECT_EQ(Fixed4(std::numeric_limits<long double>::infinity()).raw, 0);
  EXPECT_EQ(Fixed4(std::numeric_limits<long double>::quiet_NaN()).raw, 0);
}

TEST(CsvField, FieldsErrorAndTrailingComma) {
  EXPECT_EQ(CsvField("a,b", 1), "a");
  EXPECT_EQ(CsvField("a,b", 2), "b");
  EXPECT_EQ(CsvField("a,b", 3), "Error");
  EXPECT_EQ(CsvField("a,b,", 3), "");
  EXPECT_EQ(CsvField("a,b", 0), "");
  EXPECT_EQ(CsvField("a,b", -1), "");
  EXPECT_EQ(CsvField(" a , b", 2), " b");  // untrimmed
  EXPECT_EQ(CsvField("", 1), "");
}

TEST(SplitPath, FolderAndName) {
  EXPECT_EQ(SplitPath("C:\\data\\line\\a.dat", 0), "C:\\data\\line\\");
  EXPECT_EQ(SplitPath("C:\\data\\line\\a.dat", 1), "a.dat");
  EXPECT_EQ(SplitPath("a.dat", 0), "");
  EXPECT_EQ(SplitPath("a.dat", 1), "a.dat");
  EXPECT_EQ(SplitPath("/home/u/" + std::string(300, 'x'), 1).size(), 256u);
}

TEST(SplitLines, CrLfLfAndLoneCr) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(Numbers, LocaleFreeParsing) {
  EXPECT_EQ(ParseInt("42"), 42);
  EXPECT_EQ(ParseInt(" -7 "), -7);
  EXPECT_EQ(ParseInt("+3"), 3);
  EXPECT_FALSE(ParseInt("12.5"));
  EXPECT_FALSE(ParseInt(""));
  EXPECT_FALSE(ParseInt("Error"));
  EXPECT_FALSE(ParseInt("99999999999"));
  EXPECT_EQ(ParseReal("12.5"), 12.5L);
  EXPECT_EQ(ParseReal("-0.25"), -0.25L);
  EXPECT_EQ(ParseReal("1e3"), 1000.0L);
  EXPECT_FALSE(ParseReal("12,5"));
  EXPECT_FALSE(ParseReal("abc"));
  EXPECT_FALSE(ParseReal("+-1"));
  EXPECT_EQ(ParseFixed("1.00005")->raw, 10000);  // half to even
  EXPECT_EQ(FormatReal(0.1), "0.1");
  EXPECT_EQ(FormatReal(100.0), "100");
}

TEST(Encoding, Cp932AndUtf8) {
  // "～" in CP932 is 0x81 0x60 and must become U+FF5E (not U+301C); "①" is 0x87 0x40.
  EXPECT_EQ(DecodeDataText("\x81\x60"), "\xEF\xBD\x9E");
  EXPECT_EQ(DecodeDataText("\x87\x40"), "\xE2\x91\xA0");
  EXPECT_EQ(DecodeDataText("\x93\x8C\x8B\x9E"), "東京");
  // UTF-8 with and without a byte-order mark is taken as it is.
  EXPECT_EQ(DecodeDataText("\xEF\xBB\xBF東京"), "東京");
  EXPECT_EQ(DecodeDataText("東京"), "東京");
  // A broken byte does not swallow the rest of the text.
  std::string broken = DecodeDataText("\x93\x8C\xFF\x8B\x9E");
  EXPECT_NE(broken.find("東"), std::string::npos);
  EXPECT_NE(broken.find("\xEF\xBF\xBD"), std::string::npos);
  EXPECT_EQ(EncodeCp932("～①東京"), "\x81\x60\x87\x40\x93\x8C\x8B\x9E");
}

TEST(Paths, BackslashesAndLetterCase) {
  test::TempDir dir;
  dir.Write("Image/Sign/Stop.BMP", "x");
  dir.Write("sound/a.wav", "x");
  const std::string root = dir.str();
  EXPECT_EQ(ResolveDataPath(root, "Image\\Sign\\Stop.BMP"), root + "Image/Sign/Stop.BMP");
  EXPECT_EQ(ResolveDataPath(root, "image\\sign\\stop.bmp"), root + "Image/Sign/Stop.BMP");
  EXPECT_EQ(ResolveDataPath(root, "SOUND/A.WAV"), root + "sound/a.wav");
  // Missing: the path as written, so the open fails and names it.
  EXPECT_EQ(ResolveDataPath(root, "image\\none.bmp"), root + "image/none.bmp");
  EXPECT_EQ(ResolveDataPath(root, "C:\\Windows\\win.ini"), "C:\\Windows\\win.ini");
}

}  // namespace
}  // namespace kavrin
