#include "proc/running_copies.h"

#include <gtest/gtest.h>

namespace setup {
namespace {

TEST(IsCopyOf, MatchesTheWholeNameFoldingAsciiOnly) {
  struct Case {
    Text exe, app;
    bool copy;
  } cases[] = {
      {"MyApp.exe", "MyApp", true},
      {"MYAPP.EXE", "myapp", true},
      {"myapp.exe", "MyApp", true},
      {"MyApp2.exe", "MyApp", false},  // merely contains the target
      {"xMyApp.exe", "MyApp", false},
      {"MyApp.exe.bak", "MyApp", false},
      {"MyApp", "MyApp", false},
      {"\xD6\xD0\xCE\xC4"
       "App.exe",
       "\xD6\xD0\xCE\xC4"
       "app",
       true},  // double-byte equal
      {"\xD6\xD0\xCE\xC4"
       "App.exe",
       "\xD6\xD0\xCE\xC5"
       "App",
       false},  // differs in a trail byte
      {"\x81"
       "A.exe",
       "\x81"
       "a",
       false},             // a trail byte that looks like 'A' is not folded
      {".exe", "", true},  // empty name: the target ".exe" itself
      {"notepad.exe", "", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsCopyOf(c.exe, c.app), c.copy) << c.exe << " / " << c.app;
}

TEST(AppendRunningCopies, AppendsInSnapshotOrderExceptTheOwnProcess) {
  const std::vector<ProcessEntry> snapshot = {{4, "System"},
                                              {100, "myapp.exe"},
                                              {200, "Setup.exe"},
                                              {300, "MYAPP.EXE"},
                                              {400, "MyApp.exe"}};
  std::vector<int32_t> list = {7};
  EXPECT_EQ(AppendRunningCopies(snapshot, "MyApp", 400, list), 3);
  EXPECT_EQ(list, (std::vector<int32_t>{7, 100, 300})) << "only appended to; own id 400 left out";
}

TEST(AppendRunningCopies, NothingFoundLeavesTheListAsItWas) {
  std::vector<int32_t> list;
  EXPECT_EQ(AppendRunningCopies({}, "MyApp", 1, list), 0);
  EXPECT_EQ(AppendRunningCopies({{5, "other.exe"}}, "MyApp", 1, list), 0);
  EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace setup
