// What the built program carries besides its code: version block, icon, manifest.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "child_process.h"

namespace wintest {
namespace {

std::string VersionString(const std::vector<char>& block, const char* name) {
  char* value = nullptr;
  UINT length = 0;
  const std::string key = std::string("\\StringFileInfo\\080404b0\\") + name;
  if (!VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) ||
      !value)
    return "<missing>";
  return std::string(value);
}

TEST(Resources, VersionBlockIsChinesePrcUnicode) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(SetupExePath().c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(SetupExePath().c_str(), 0, size, block.data()));
  WORD* translation = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_GE(length, 4u);
  EXPECT_EQ(translation[0], 0x0804);
  EXPECT_EQ(translation[1], 1200);
  EXPECT_EQ(VersionString(block, "FileVersion"), "1.0.0.0");
  EXPECT_EQ(VersionString(block, "ProductVersion"), "1.0.0.0");
  EXPECT_EQ(VersionString(block, "FileDescription"), "Setup");
  EXPECT_EQ(VersionString(block, "ProductName"), "Setup");
}

#pragma pack(push, 2)
struct GroupEntry {
  BYTE width, height, colors, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

TEST(Resources, ApplicationIconHasSixImages) {
  HMODULE module = LoadLibraryExA(SetupExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(1), RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
  const WORD count = *reinterpret_cast<const WORD*>(data + 4);
  ASSERT_EQ(count, 6);
  std::vector<std::pair<int, int>> images;
  for (int i = 0; i < count; ++i) {
    const GroupEntry* e = reinterpret_cast<const GroupEntry*>(data + 6 + 14 * i);
    images.push_back({e->width, e->bitCount});
  }
  std::sort(images.begin(), images.end());
  EXPECT_EQ(images, (std::vector<std::pair<int, int>>{
                        {16, 8}, {16, 32}, {32, 8}, {32, 32}, {48, 8}, {48, 32}}));
  FreeLibrary(module);
}

TEST(Resources, ManifestAsksForNoElevation) {
  HMODULE module = LoadLibraryExA(SetupExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  ASSERT_NE(res, nullptr);
  const char* text = static_cast<const char*>(LockResource(LoadResource(module, res)));
  const std::string manifest(text, SizeofResource(module, res));
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
  FreeLibrary(module);
}

}  // namespace
}  // namespace wintest
