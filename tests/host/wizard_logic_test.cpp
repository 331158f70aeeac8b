#include <gtest/gtest.h>

#include <thread>

#include "wizard/oem_key.h"
#include "wizard/progress.h"
#include "wizard/shortcut.h"
#include "wizard/wizard_form.h"

namespace setup {
namespace {

const char kQvzDigest[] = "8d26e54326722eaca1a2cb0fd36cfb5e";  // MD5("qvz")

TEST(Progress, PermilleIsCutTowardZero) {
  struct Case {
    int32_t length, soFar, permille;
  } cases[] = {
      {1000, 455, 455}, {3, 1, 333}, {3, 2, 666},
      {100, 100, 1000}, {0, 5, 0},  // no announced length: not a number
      {0, 0, 0},                    // 0/0
      {100, 250, 2500},             // more than announced
      {100000, -5, 0},              // negative counts cut toward zero
  };
  for (const Case& c : cases)
    EXPECT_EQ(ProgressPermille(c.length, c.soFar), c.permille) << c.length << "/" << c.soFar;
}

TEST(Progress, StoredPositionAndText) {
  EXPECT_EQ(StoredPosition(-3), 0);
  EXPECT_EQ(StoredPosition(1000), 1000);
  EXPECT_EQ(StoredPosition(40000), 32767);
  struct Case {
    int32_t q;
    const char* text;
  } cases[] = {{455, "正在下载请稍后...46%"},  {1000, "正在下载请稍后...100%"},
               {0, "正在下载请稍后...0%"},     {4, "正在下载请稍后...0%"},
               {5, "正在下载请稍后...1%"},     {994, "正在下载请稍后...99%"},
               {995, "正在下载请稍后...100%"}, {32767, "正在下载请稍后...3277%"}};
  for (const Case& c : cases) EXPECT_EQ(ProgressText(c.q), c.text) << c.q;
}

TEST(ProgressMailbox, OneNoticeAtMostWaitsAndTheLatestValuesWin) {
  ProgressMailbox box;
  int notices = 0;
  for (int i = 1; i <= 20000; ++i) notices += box.Store(100000, i) ? 1 : 0;
  EXPECT_EQ(notices, 1) << "a flood of chunks queues one notice";
  int32_t length = 0, soFar = 0;
  ASSERT_TRUE(box.Take(&length, &soFar));
  EXPECT_EQ(length, 100000);
  EXPECT_EQ(soFar, 20000);
  EXPECT_FALSE(box.Take(&length, &soFar)) << "nothing new";
  EXPECT_TRUE(box.Store(100000, 20001)) << "after a take, the next report sends a notice";
}

TEST(ProgressMailbox, ConcurrentReportsAreNeverLost) {
  ProgressMailbox box;
  std::atomic<int> notices{0};
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int i = 1; i <= 200000; ++i) notices += box.Store(1, i) ? 1 : 0;
    done = true;
  });
  int32_t length = 0, soFar = 0, last = 0, taken = 0;
  while (!done || notices > taken) {
    if (notices > taken) {
      ++taken;
      if (box.Take(&length, &soFar)) {
        EXPECT_GE(soFar, last) << "values only move forward";
        last = soFar;
      }
    }
  }
  worker.join();
  if (box.Take(&length, &soFar)) last = soFar;
  EXPECT_EQ(last, 200000) << "the final report always arrives";
}

TEST(JudgeDownload, CompleteOnlyWithTheWholeFile) {
  struct Case {
    int32_t result;
    int64_t announced, size;
    DownloadVerdict verdict;
  } cases[] = {
      {0, 1000, 1000, DownloadVerdict::kComplete},
      {0, 1000, 999, DownloadVerdict::kFailed},  // cut short
      {0, 1000, 1001, DownloadVerdict::kFailed},
      {0, 0, 5, DownloadVerdict::kComplete},  // no length announced
      {0, 0, 0, DownloadVerdict::kFailed},    // empty body
      {0, 0, -1, DownloadVerdict::kFailed},   // no file
      {-1, 1000, 1000, DownloadVerdict::kFailed},
  };
  for (const Case& c : cases)
    EXPECT_EQ(JudgeDownload(c.result, c.announced, c.size), c.verdict)
        << c.announced << "/" << c.size;
}

TEST(OemKey, EncodesEachByteAndAddsTheTagDigest) {
  struct Case {
    Text id, want;
  } cases[] = {
      {"123", "21222326E543267"},       {"", "26E543267"},
      {"41159", "242121252926E543267"}, {"\x10\xFF", "00EF26E543267"},
      {"\xD6\xD0", "C6C026E543267"},  // a double-byte character, byte by byte
  };
  for (const Case& c : cases) EXPECT_EQ(EncodeOemKeyWith(c.id, kQvzDigest), c.want) << c.id;
  EXPECT_EQ(EncodeOemKeyWith("123", ""), "212223") << "no digest: the id part alone";
  EXPECT_EQ(EncodeOemKeyWith("123", kQvzDigest).size(), 15u);
}

TEST(Shortcut, LinkPathWorkingFolderAndIcon) {
  const Text desk = "C:\\Users\\u\\Desktop\\";
  EXPECT_EQ(ShortcutLinkPath(desk, "MyApp"), desk + "MyApp.lnk");
  EXPECT_EQ(ShortcutLinkPath(desk, "C:\\Apps\\MyApp.exe"), desk + "MyApp.lnk");
  EXPECT_EQ(ShortcutLinkPath(desk, "MyApp.LNK"), desk + "MyApp.LNK");
  EXPECT_EQ(ShortcutLinkPath("", "MyApp"), "MyApp.lnk") << "no desktop: the current folder";
  EXPECT_EQ(WorkingFolderOf("C:\\App\\app.exe"), Text("C:\\App\\"));
  EXPECT_EQ(WorkingFolderOf("C:\\a\\\\b.exe"), Text("C:\\a\\\\"));
  EXPECT_FALSE(WorkingFolderOf("app.exe").has_value());
  EXPECT_EQ(WorkingFolderOf("C:\\\xD6\xD0\\x.exe"), Text("C:\\\xD6\xD0\\"));
  EXPECT_EQ(IconLocationFor("C:\\App\\app.exe", Text("C:\\App\\logo.ico")), "C:\\App\\logo.ico");
  EXPECT_EQ(IconLocationFor("C:\\App\\app.exe", std::nullopt), "C:\\App\\app.exe,0");
  EXPECT_EQ(IconLocationFor("C:\\App\\tool", std::nullopt), "SHELL32.dll,4");
  EXPECT_EQ(FileNamePart("a\\b/c.txt"), "c.txt");
  EXPECT_EQ(WithoutExtension("c.tar.gz"), "c.tar");
  EXPECT_EQ(FileNamePart("a\x81\\b"), "a\x81\\b") << "a trail byte is no separator";
}

TEST(WizardForm, IsWellFormed) {
  const ui::FormLayout& form = WizardForm();
  EXPECT_EQ(ui::CheckForm(form), nullptr);
  EXPECT_EQ(form.pages.size(), 4u);
  EXPECT_EQ(form.controls.size(), 26u);
  for (const ui::ControlEntry& c : form.controls) {
    if (c.kind == ui::Kind::kImageButton) {
      EXPECT_NE(c.scheme.normal, 0u) << c.name;
    }
  }
}

TEST(WizardForm, ChecksCatchBrokenDescriptions) {
  ui::FormLayout bad = WizardForm();
  bad.controls.push_back(bad.controls[0]);
  EXPECT_NE(ui::CheckForm(bad), nullptr) << "a name used twice";
  bad = WizardForm();
  bad.controls[5].parent = "nothing";
  EXPECT_NE(ui::CheckForm(bad), nullptr) << "a missing parent";
  bad = WizardForm();
  bad.controls.back().page = 9;
  EXPECT_NE(ui::CheckForm(bad), nullptr) << "a page out of range";
  bad = WizardForm();
  bad.childrenTopDown.pop_back();
  EXPECT_NE(ui::CheckForm(bad), nullptr) << "a child missing from the stacking order";
}

TEST(LicenceText, HasTenClausesInCrLfLines) {
  const Text text = LicenceText();
  EXPECT_EQ(text.size(), 2070u) << "1,055 characters in code page 936";
  size_t lines = 0, blank = 0;
  for (size_t at = 0; (at = text.find("\r\n", at)) != Text::npos; at += 2) {
    ++lines;
    if (text.compare(at + 2, 2, "\r\n") == 0) ++blank;
  }
  EXPECT_EQ(lines, 20u);
  EXPECT_EQ(blank, 10u) << "a blank line after the title and between clauses";
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1) << "CR LF line breaks only";
  EXPECT_NE(text.find("十、"), Text::npos);
}

}  // namespace
}  // namespace setup
