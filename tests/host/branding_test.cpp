#include "app/branding.h"

#include <gtest/gtest.h>

#include "app/default_icon.h"

namespace setup {
namespace {

struct IconEntry {
  int width, bpp;
  uint32_t bytes;
};

std::vector<IconEntry> Entries(const Bytes& ico) {
  std::vector<IconEntry> out;
  const int count = ico[4] | (ico[5] << 8);
  for (int i = 0; i < count; ++i) {
    const int64_t e = 6 + 16 * i;
    out.push_back({ico[e] ? ico[e] : 256, ico[e + 6] | (ico[e + 7] << 8),
                   static_cast<uint32_t>(ReadInt32(ico, e + 9))});
  }
  return out;
}

TEST(DefaultIcon, HasTheFourThirtyTwoBitImages) {
  const Bytes ico = DefaultIcon();
  ASSERT_EQ(ico.size(), 17542u);
  EXPECT_EQ(ico[2], 1);  // an icon, not a cursor
  const std::vector<IconEntry> e = Entries(ico);
  ASSERT_EQ(e.size(), 4u);
  const IconEntry want[] = {{48, 32, 9640}, {32, 32, 4264}, {24, 32, 2440}, {16, 32, 1128}};
  uint32_t offset = 6 + 16 * 4;
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(e[i].width, want[i].width);
    EXPECT_EQ(e[i].bpp, want[i].bpp);
    EXPECT_EQ(e[i].bytes, want[i].bytes);
    EXPECT_EQ(static_cast<uint32_t>(ReadInt32(ico, 6 + 16 * i + 13)), offset);
    EXPECT_EQ(ReadInt32(ico, offset + 1), 40) << "BITMAPINFOHEADER form";
    offset += e[i].bytes;
  }
}

TEST(CompleteBranding, PutsTheDefaultIconInPlaceOfAMissingOne) {
  InstallerState state;
  state.agent_id_text = "41159";
  EXPECT_EQ(CompleteBranding(state), 41159);
  EXPECT_EQ(state.icon_bytes, DefaultIcon());
}

TEST(CompleteBranding, KeepsTheTrailersIcon) {
  InstallerState state;
  state.agent_id_text = "7";
  state.icon_bytes = {1, 2, 3};
  EXPECT_EQ(CompleteBranding(state), 7);
  EXPECT_EQ(state.icon_bytes, Bytes({1, 2, 3}));
}

TEST(CompleteBranding, TellsTheUnbrandedTemplate) {
  struct Case {
    Text id;
    int32_t value;
  } cases[] = {{"", 0}, {"abc", 0}, {"0", 0}, {"\x03", 0}, {"-3", -3}, {"12a", 12}};
  for (const Case& c : cases) {
    InstallerState state;
    state.agent_id_text = c.id;
    EXPECT_EQ(CompleteBranding(state), c.value) << c.id;
    EXPECT_FALSE(state.icon_bytes.empty());
  }
}

TEST(InstallerState, StartsEmptyAndIsReleased) {
  InitInstallerState();
  EXPECT_TRUE(State().agent_id_text.empty());
  EXPECT_TRUE(State().icon_bytes.empty());
  EXPECT_EQ(State().app_id, 0);
  EXPECT_EQ(State().agent_id, 0);
  EXPECT_TRUE(State().app_info.agent_app.app_name.empty());
  EXPECT_TRUE(State().install_folder.empty());
  State().agent_id_text = "9";
  ReleaseInstallerState();
  ReleaseInstallerState();  // a second release is harmless
  InitInstallerState();
  EXPECT_TRUE(State().agent_id_text.empty());
  ReleaseInstallerState();
}

}  // namespace
}  // namespace setup
