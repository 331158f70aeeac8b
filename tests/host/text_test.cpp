#include "base/text.h"

#include <gtest/gtest.h>

#include <climits>

namespace setup {
namespace {

Bytes B(std::initializer_list<int> v) {
  Bytes b;
  for (int x : v) b.push_back(static_cast<uint8_t>(x));
  return b;
}

TEST(ReadRun, IsBoundedByTheData) {
  const Bytes data = B({1, 2, 3, 4, 5});
  struct Case {
    int64_t start, length;
    Bytes want;
  } cases[] = {
      {1, 2, B({1, 2})}, {4, 10, B({4, 5})},       {6, 1, {}},
      {0, 2, B({1, 2})}, {-100, 3, B({1, 2, 3})},  {2, -1, {}},
      {2, 0, {}},        {1, INT64_MAX / 2, data}, {INT32_MAX, 4, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadRun(data, c.start, c.length), c.want) << c.start << "," << c.length;
  }
}

TEST(LastBytes, TakesTheTailOrEverythingOrNothing) {
  const Bytes data = B({1, 2, 3});
  EXPECT_EQ(LastBytes(data, 2), B({2, 3}));
  EXPECT_EQ(LastBytes(data, 3), data);
  EXPECT_EQ(LastBytes(data, 99), data);
  EXPECT_EQ(LastBytes(data, 0), Bytes());
  EXPECT_EQ(LastBytes(data, -5), Bytes());
}

TEST(ReadInt32, IsLittleEndianAndZeroExtendsShortReads) {
  EXPECT_EQ(ReadInt32(B({0x3B, 0x06, 0x01, 0x00}), 1), 67131);
  EXPECT_EQ(ReadInt32(B({0xFF, 0xFF, 0xFF, 0xFF}), 1), -1);
  EXPECT_EQ(ReadInt32(B({9, 0x34, 0x12}), 2), 0x1234);  // two bytes left: high bytes zero
  EXPECT_EQ(ReadInt32(B({0xFF}), 1), 0xFF);
  EXPECT_EQ(ReadInt32(B({}), 1), 0);
  EXPECT_EQ(ReadInt32(B({1, 2}), 5), 0);
  Bytes out;
  AppendInt32(out, -2);
  EXPECT_EQ(out, B({0xFE, 0xFF, 0xFF, 0xFF}));
}

TEST(TextFromBytes, EndsAtTheFirstZeroByte) {
  EXPECT_EQ(TextFromBytes(B({'1', '2', 0, '3'})), "12");
  EXPECT_EQ(TextFromBytes(B({})), "");
  EXPECT_EQ(TextFromBytes(B({'a', 'b'})), "ab");
}

TEST(TextToInt, FollowsTheConventions) {
  struct Case {
    Text text;
    int32_t want;
  } cases[] = {
      {"41159", 41159},
      {"  42x", 42},
      {"\t-17", -17},
      {"+8", 8},
      {"abc", 0},
      {"", 0},
      {"-", 0},
      {"12 3", 12},
      {"1"
       "\xA3\xB2"
       "3",
       123},                     // full-width two between ASCII digits
      {"\xA3\xAD\xA3\xB5", -5},  // full-width minus and five
      {"\xA1\xA1\xA3\xB7", 7},   // ideographic blank before a full-width seven
      {"\xA3\xC1"
       "1",
       0},  // full-width letter A: no digits
      {"\xB0\xA1"
       "5",
       0},                         // a Chinese character first
      {"99999999999", INT32_MAX},  // saturates rather than wrapping to 0
      {"-99999999999", INT32_MIN},
      {"4294967296", INT32_MAX},
  };
  for (const Case& c : cases) EXPECT_EQ(TextToInt(c.text), c.want) << c.text;
}

TEST(CaseFolding, ChangesAsciiLettersOnly) {
  // 0x81 0x41 is a double-byte character whose trail byte looks like 'A'.
  EXPECT_EQ(AsciiLower("ABC\x81"
                       "Ad"),
            "abc\x81"
            "Ad");
  EXPECT_EQ(AsciiUpper("abc\x81"
                       "ad"),
            "ABC\x81"
            "aD");
  EXPECT_EQ(AsciiLower("\xD6\xD0\xCE\xC4"
                       "X.EXE"),
            "\xD6\xD0\xCE\xC4"
            "x.exe");
}

TEST(FindText, NeverMatchesAtASecondByte) {
  // "\xB0\x41" is one character; the 'A' inside it is not a match.
  EXPECT_EQ(FindText("\xB0"
                     "AA",
                     "A"),
            2u);
  EXPECT_EQ(FindText("\xB0"
                     "A",
                     "A"),
            Text::npos);
  EXPECT_EQ(FindText("x\xB0"
                     "Ab",
                     "Ab"),
            Text::npos);
  EXPECT_EQ(FindText("\xB0\xB0\xB0", "\xB0\xB0"), 0u);
  EXPECT_EQ(FindText("a\xB0\xB0\xB0\xB0", "\xB0\xB0", 2), 3u);  // from a trail byte: next character
}

TEST(FindText, FoldsAsciiOnlyWhenAsked) {
  EXPECT_EQ(FindText("Set-Cookie: a", "set-cookie"), Text::npos);
  EXPECT_EQ(FindText("Set-Cookie: a", "set-cookie", 0, true), 0u);
  EXPECT_EQ(FindText("\x81"
                     "a",
                     "\x81"
                     "A",
                     0, true),
            Text::npos);  // trail bytes compare exactly
  EXPECT_EQ(FindText("abcabc", "abc", 1), 3u);
  EXPECT_EQ(FindText("abc", "", 1), 1u);
  EXPECT_EQ(FindText("abc", "", 3), 3u);
  EXPECT_EQ(FindText("abc", "abcd"), Text::npos);
  EXPECT_TRUE(Contains("Accept: */*", "Accept:"));
}

TEST(ReplaceAll, ReplacesCharacterAlignedOccurrences) {
  EXPECT_EQ(ReplaceAll("a#b#c", "#", "--"), "a--b--c");
  EXPECT_EQ(ReplaceAll("SET-COOKIE x set-cookie", "set-cookie", "Set-Cookie", true),
            "Set-Cookie x Set-Cookie");
  EXPECT_EQ(ReplaceAll("\xB0"
                       "AA",
                       "A", "z"),
            "\xB0"
            "Az");
  EXPECT_EQ(ReplaceAll("abc", "", "z"), "abc");
}

TEST(EndsWithChar, LooksAtTheLastWholeCharacter) {
  EXPECT_TRUE(EndsWithChar("C:\\", '\\'));
  EXPECT_TRUE(EndsWithChar("\xD6\xD0\\", '\\'));
  EXPECT_FALSE(EndsWithChar("C:\\a", '\\'));
  EXPECT_FALSE(EndsWithChar("a\x81\x5C", '\\')) << "0x5C here is a trail byte";
  EXPECT_FALSE(EndsWithChar("", '\\'));
}

TEST(DecimalText, WritesSignedValues) {
  EXPECT_EQ(DecimalText(0), "0");
  EXPECT_EQ(DecimalText(41159), "41159");
  EXPECT_EQ(DecimalText(-7), "-7");
  EXPECT_EQ(DecimalText(INT64_MIN), "-9223372036854775808");
}

}  // namespace
}  // namespace setup
