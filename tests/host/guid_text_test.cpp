#include "skin/guid_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace setup {
namespace {

std::vector<int> Parsed(const char* text) {
  uint8_t out[16];
  for (uint8_t& b : out) b = 0xEE;
  if (!ParseGuidText(text, out)) return {};
  return std::vector<int>(out, out + 16);
}

TEST(GuidText, FrameDimensionTimeInMemoryOrder) {
  // Data1 little-endian, then Data2, Data3, then Data4 as written.
  const std::vector<int> expected = {0x6D, 0xBD, 0xED, 0x6A, 0xB5, 0x3F, 0x8A, 0x41,
                                     0x83, 0xA6, 0x7F, 0x45, 0x22, 0x9D, 0xC8, 0x72};
  EXPECT_EQ(Parsed(kFrameDimensionTimeText), expected);
  EXPECT_EQ(Parsed("{6aedbd6d-3fb5-418a-83a6-7f45229dc872}"), expected);
}

TEST(GuidText, OtherTextsAreRefusedAndLeaveTheBytes) {
  const char* const bad[] = {
      "",
      "6AEDBD6D-3FB5-418A-83A6-7F45229DC872",     // no braces
      "{6AEDBD6D-3FB5-418A-83A6-7F45229DC872",    // one brace
      "{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}x",  // trailing text
      "{6AEDBD6D-3FB5-418A-83A67F45229DC8720}",   // a dash moved
      "{6AEDBD6D-3FB5-418A-83A6-7F45229DC87G}",   // not a hex digit
      "{6AEDBD6D+3FB5-418A-83A6-7F45229DC872}",
  };
  for (const char* text : bad) {
    uint8_t out[16];
    for (uint8_t& b : out) b = 0xEE;
    EXPECT_FALSE(ParseGuidText(text, out)) << text;
    EXPECT_EQ(std::vector<int>(out, out + 16), std::vector<int>(16, 0xEE)) << text;
  }
  uint8_t out[16];
  EXPECT_FALSE(ParseGuidText(nullptr, out));
}

}  // namespace
}  // namespace setup
