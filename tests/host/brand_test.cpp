#include "brand.h"

#include <gtest/gtest.h>

#include "app/default_icon.h"
#include "base/file_io.h"

namespace setup::brand {
namespace {

void Put32(Bytes& b, size_t off, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[off + i] = static_cast<uint8_t>(v >> (8 * i));
}
void Put16(Bytes& b, size_t off, uint16_t v) {
  b[off] = static_cast<uint8_t>(v);
  b[off + 1] = static_cast<uint8_t>(v >> 8);
}

// A minimal PE32 image: headers, one section whose raw data ends at 1024,
// then resource-like filler whose last bytes read as a huge length.
Bytes FakeExecutable() {
  Bytes f(1024, 0);
  f[0] = 'M';
  f[1] = 'Z';
  Put32(f, 0x3C, 0x80);
  Put32(f, 0x80, 0x00004550);
  Put16(f, 0x86, 1);    // one section
  Put16(f, 0x94, 224);  // optional header size
  Put16(f, 0x98, 0x10B);
  const size_t section = 0x98 + 224;
  Put32(f, section + 16, 512);                      // SizeOfRawData
  Put32(f, section + 20, 512);                      // PointerToRawData
  for (size_t i = 1000; i < 1024; ++i) f[i] = 'P';  // "PADDINGXX" style filler
  return f;
}

TEST(CheckAgentId, AcceptsDecimalIdsWithinInt32) {
  struct Case {
    Text id;
    bool ok;
  } cases[] = {{"41159", true},
               {"1", true},
               {"2147483647", true},
               {"007", true},
               {"0", false},
               {"000", false},
               {"", false},
               {"-5", false},
               {"+5", false},
               {"12a", false},
               {" 12", false},
               {"2147483648", false},
               {"99999999999999999999", false},
               {"\xA3\xB1", false}};
  for (const Case& c : cases) {
    std::string why;
    EXPECT_EQ(CheckAgentId(c.id, &why), c.ok) << c.id;
    EXPECT_EQ(why.empty(), c.ok) << c.id;
  }
}

TEST(CheckIcon, AcceptsWellFormedIcons) {
  std::string why;
  EXPECT_TRUE(CheckIcon(DefaultIcon(), &why)) << why;
  EXPECT_TRUE(CheckIcon(ReadWholeFile(SETUP_ASSETS_DIR "/agent-sample.ico"), &why)) << why;
  EXPECT_TRUE(CheckIcon(ReadWholeFile(SETUP_ASSETS_DIR "/setup.ico"), &why)) << why;
}

TEST(CheckIcon, AcceptsAPngImage) {
  Bytes ico(6 + 16, 0);
  Put16(ico, 2, 1);
  Put16(ico, 4, 1);
  const uint8_t png[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A,
                         0,    0,   0,   13,  'I',  'H',  'D',  'R'};
  Bytes image(png, png + sizeof png);
  image.resize(45, 0);
  Put32(ico, 14, static_cast<uint32_t>(image.size()));
  Put32(ico, 18, 22);
  ico.insert(ico.end(), image.begin(), image.end());
  std::string why;
  EXPECT_TRUE(CheckIcon(ico, &why)) << why;
}

TEST(CheckIcon, RefusesDamagedIcons) {
  const Bytes good = DefaultIcon();
  struct Case {
    const char* what;
    Bytes ico;
  };
  std::vector<Case> cases;
  cases.push_back({"empty", {}});
  cases.push_back({"header only", Bytes(good.begin(), good.begin() + 6)});
  Bytes cursor = good;
  cursor[2] = 2;
  cases.push_back({"a cursor", cursor});
  Bytes none = good;
  Put16(none, 4, 0);
  cases.push_back({"no image", none});
  Bytes many = good;
  Put16(many, 4, 2000);
  cases.push_back({"directory past the end", many});
  cases.push_back({"cut short", Bytes(good.begin(), good.end() - 1)});
  Bytes outside = good;
  Put32(outside, 6 + 12, 0x7FFFFFF0);
  cases.push_back({"image offset outside", outside});
  Bytes notDib = good;
  Put32(notDib, 70, 41);
  cases.push_back({"image with a bad header", notDib});
  Bytes bigger = good;
  Put32(bigger, 70 + 4, 200);  // claims 200 px wide inside 9,640 bytes
  cases.push_back({"image larger than its bytes", bigger});
  cases.push_back({"an executable", FakeExecutable()});
  for (const Case& c : cases) {
    std::string why;
    EXPECT_FALSE(CheckIcon(c.ico, &why)) << c.what;
    EXPECT_FALSE(why.empty()) << c.what;
  }
}

TEST(ImageEnd, FindsTheEndOfTheLastSection) {
  EXPECT_EQ(ImageEnd(FakeExecutable()), 1024);
  EXPECT_EQ(ImageEnd(Bytes(100, 0)), 0);
  Bytes truncated = FakeExecutable();
  truncated.resize(300);
  EXPECT_EQ(ImageEnd(truncated), 0);  // section table cut off
}

TEST(Brand, AppendsTheTrailerAndTheReaderFindsIt) {
  const Bytes templ = FakeExecutable();
  const Bytes icon = DefaultIcon();
  Bytes out;
  std::string why;
  ASSERT_TRUE(Brand(templ, "41159", icon, false, &out, &why)) << why;
  EXPECT_EQ(Bytes(out.begin(), out.begin() + templ.size()), templ);
  const TrailerCheck check = CheckTrailer(out);
  EXPECT_TRUE(check.valid) << check.problem;
  EXPECT_EQ(check.start, static_cast<int64_t>(templ.size()));
  const BrandingData data = ParseBrandingTrailer(out);
  EXPECT_EQ(data.agent_id_text, "41159");
  EXPECT_EQ(data.icon_bytes, icon);
}

TEST(Brand, WithoutIconTheTrailerCarriesNone) {
  Bytes out;
  std::string why;
  ASSERT_TRUE(Brand(FakeExecutable(), "12", {}, false, &out, &why)) << why;
  EXPECT_TRUE(CheckTrailer(out).valid);
  EXPECT_TRUE(ParseBrandingTrailer(out).icon_bytes.empty());
  EXPECT_EQ(out.size(), FakeExecutable().size() + 14);
}

TEST(Brand, RefusesABrandedTemplateUnlessReplacing) {
  Bytes once, twice;
  std::string why;
  ASSERT_TRUE(Brand(FakeExecutable(), "41159", DefaultIcon(), false, &once, &why));
  EXPECT_FALSE(Brand(once, "7", {}, false, &twice, &why));
  EXPECT_NE(why.find("already branded"), std::string::npos);
  ASSERT_TRUE(Brand(once, "7", {}, true, &twice, &why)) << why;
  EXPECT_EQ(twice.size(), FakeExecutable().size() + 13);
  EXPECT_EQ(ParseBrandingTrailer(twice).agent_id_text, "7");
}

TEST(Brand, RefusesBadInput) {
  Bytes out;
  std::string why;
  EXPECT_FALSE(Brand(FakeExecutable(), "0", {}, false, &out, &why));
  EXPECT_FALSE(Brand(FakeExecutable(), "12x", {}, false, &out, &why));
  EXPECT_FALSE(Brand(FakeExecutable(), "1", Bytes(30, 1), false, &out, &why));
  EXPECT_FALSE(Brand(Bytes(2000, 'x'), "1", {}, false, &out, &why));
  EXPECT_NE(why.find("not a Windows executable"), std::string::npos);
  EXPECT_TRUE(out.empty());
}

TEST(CheckTrailer, TellsAnUnbrandedTemplate) {
  EXPECT_FALSE(CheckTrailer(FakeExecutable()).valid);
  Bytes zeroTail = FakeExecutable();
  std::fill(zeroTail.end() - 4, zeroTail.end(), 0);
  EXPECT_FALSE(CheckTrailer(zeroTail).valid);
  // Lengths that add up but reach into the executable image.
  Bytes inside = FakeExecutable();
  const Bytes trailer = BuildBrandingTrailer("5", {});
  std::copy(trailer.begin(), trailer.end(), inside.end() - trailer.size());
  EXPECT_FALSE(CheckTrailer(inside).valid);
}

}  // namespace
}  // namespace setup::brand

namespace setup::brand {
namespace {

TEST(Brand, RefusesATemplateCutShort) {
  Bytes cut = FakeExecutable();
  cut.resize(700);  // the section's raw data ends at 1024
  Bytes out;
  std::string why;
  EXPECT_FALSE(Brand(cut, "5", {}, false, &out, &why));
  EXPECT_NE(why.find("cut short"), std::string::npos);
}

}  // namespace
}  // namespace setup::brand
