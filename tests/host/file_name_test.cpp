#include "base/file_name.h"

#include <gtest/gtest.h>

namespace setup {
namespace {

TEST(IsPlainFileName, AcceptsOrdinaryNames) {
  for (const Text& name :
       std::vector<Text>{"MyApp", "my app", "app-1.2", "\xD6\xD0\xCE\xC4\xC8\xED\xBC\xFE",
                         "a\x81\x5C"
                         "b",  // a double-byte character whose trail byte is 0x5C
                         "COM0", "COM10", "CONSOLE", "nulx", Text(kMaxPlainNameBytes, 'a')})
    EXPECT_TRUE(IsPlainFileName(name)) << name;
}

TEST(IsPlainFileName, RefusesWhatIsNoPlainComponent) {
  for (const Text& name : std::vector<Text>{"",      ".",       "..",
                                            "..\\x", "a/b",     "a:b",
                                            "a*",    "a?",      "a\"b",
                                            "a<b",   "a>b",     "a|b",
                                            "a\tb",  "a\x01",   "app.",
                                            "app ",  "CON",     "con",
                                            "Nul",   "aux.txt", "COM1",
                                            "lpt9",  "CON .x",  "PRN",
                                            "\xD6",  "ab\xD6",  Text(kMaxPlainNameBytes + 1, 'a')})
    EXPECT_FALSE(IsPlainFileName(name)) << name;
}

}  // namespace
}  // namespace setup
