#include "app/branding_trailer.h"

#include <gtest/gtest.h>

#include "base/file_io.h"

namespace setup {
namespace {

Bytes B(std::initializer_list<int> v) {
  Bytes b;
  for (int x : v) b.push_back(static_cast<uint8_t>(x));
  return b;
}

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Bytes Le(int32_t v) {
  Bytes b;
  AppendInt32(b, v);
  return b;
}

TEST(BrandingTrailer, TheAgentExampleRoundTrips) {
  const Bytes icon = ReadWholeFile(SETUP_ASSETS_DIR "/agent-sample.ico");
  ASSERT_EQ(icon.size(), 67118u);
  const Bytes trailer = BuildBrandingTrailer("41159", icon);
  ASSERT_EQ(trailer.size(), 67135u);
  EXPECT_EQ(Bytes(trailer.begin(), trailer.begin() + 9), B({5, 0, 0, 0, '4', '1', '1', '5', '9'}));
  EXPECT_EQ(Bytes(trailer.begin() + 9, trailer.begin() + 13), B({0x2E, 0x06, 0x01, 0x00}));
  EXPECT_EQ(Bytes(trailer.end() - 4, trailer.end()), B({0x3B, 0x06, 0x01, 0x00}));

  const Bytes image(5000, 0x5A);  // stands in for the executable image
  const BrandingData data = ParseBrandingTrailer(Concat(image, trailer));
  EXPECT_EQ(data.agent_id_text, "41159");
  EXPECT_EQ(data.icon_bytes, icon);
}

struct DamagedCase {
  const char* what;
  Bytes file;
  Text agent;
  Bytes icon;
};

class DamagedTrailer : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedTrailer, YieldsWhatTheBoundedReadsGive) {
  const DamagedCase& c = GetParam();
  const BrandingData data = ParseBrandingTrailer(c.file);
  EXPECT_EQ(data.agent_id_text, c.agent) << c.what;
  EXPECT_EQ(data.icon_bytes, c.icon) << c.what;
}

const Bytes kHead = B({'M', 'Z', 0x90, 0, 3, 0, 0, 0});

INSTANTIATE_TEST_SUITE_P(
    Table, DamagedTrailer,
    ::testing::Values(
        DamagedCase{"empty file", {}, "", {}}, DamagedCase{"one byte", B({1}), "", {}},
        DamagedCase{"zero length: four-byte trailer", Concat(kHead, Le(0)), "", {}},
        // L + 4 beyond the file: the whole file is read from its first byte;
        // the executable header's fifth byte (3) is no digit.
        DamagedCase{"length past the file", Concat(kHead, Le(1000)), "\x03", {}},
        DamagedCase{"length that overflows when 4 is added",
                    Concat(Concat(Concat(Le(4), B({'1', '2', '3', '4'})), Le(0)), Le(INT32_MAX)),
                    "1234",
                    {}},
        DamagedCase{"L + 4 = 0", Concat(kHead, Le(-4)), "", {}},
        DamagedCase{"negative length", Concat(kHead, Le(-100)), "", {}},
        DamagedCase{"most negative length", Concat(kHead, Le(INT32_MIN)), "", {}},
        DamagedCase{"zero byte inside the id",
                    Concat(Concat(Concat(Le(4), B({'1', '2', 0, '3'})), Le(0)), Le(12)),
                    "12",
                    {}},
        DamagedCase{"id of digits and a letter",
                    Concat(Concat(Concat(Le(3), B({'4', '1', 'a'})), Le(0)), Le(11)),
                    "41a",
                    {}},
        DamagedCase{"id length past the trailer",
                    Concat(Concat(Le(50), B({'7', '7'})), Le(10)),
                    Text("77") + Text("\x0A\0\0\0", 1),
                    {}},
        DamagedCase{"negative id length", Concat(Concat(Le(-8), B({'9', '9'})), Le(6)), "", {}},
        // The icon runs past the end: it is the bytes up to the end of the
        // file, the last field included.
        DamagedCase{"icon length past the end",
                    Concat(Concat(Concat(Concat(Le(1), B({'5'})), Le(100)), B({1, 2})), Le(11)),
                    "5", Concat(B({1, 2}), Le(11))},
        DamagedCase{"negative icon length",
                    Concat(Concat(Concat(Concat(Le(1), B({'5'})), Le(-2)), B({1, 2})), Le(11)),
                    "5",
                    {}},
        DamagedCase{"truncated after the id", Concat(Concat(Le(1), B({'8'})), Le(5)), "8", {}}));

TEST(BrandingTrailer, ExtentIsBoundedByTheFile) {
  EXPECT_EQ(TrailerExtent(Concat(kHead, Le(0))), 4);
  EXPECT_EQ(TrailerExtent(Concat(kHead, Le(4))), 8);
  EXPECT_EQ(TrailerExtent(Concat(kHead, Le(1000))), 12);
  EXPECT_EQ(TrailerExtent(Concat(kHead, Le(-4))), 0);
  EXPECT_EQ(TrailerExtent(Concat(kHead, Le(INT32_MIN))), 0);
  EXPECT_EQ(TrailerExtent({}), 0);
}

}  // namespace
}  // namespace setup
