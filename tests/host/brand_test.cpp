#include "brand.h"

#include <gtest/gtest.h>

#include <functional>

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
  EXPECT_FALSE(check.in_signature);
  EXPECT_EQ(Bytes(out.begin() + templ.size(), out.end()), BuildBrandingTrailer("41159", icon));
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

namespace setup::brand {
namespace {

// Offsets in FakeExecutable: the CheckSum field, data directory 4 and where
// SignedExecutable puts its certificate table.
constexpr size_t kChecksum = 0x98 + 64;
constexpr size_t kDirectory = 0x98 + 96 + 32;
constexpr size_t kTable = 1024;
constexpr size_t kBlobEnd = kTable + 60;

uint32_t Get32(const Bytes& b, size_t off) {
  return static_cast<uint32_t>(ReadInt32(b, static_cast<int64_t>(off) + 1));
}

// FakeExecutable with a certificate table at its end (at kTable, or `gap`
// bytes later): one WIN_CERTIFICATE (dwLength 64) whose "PKCS#7" blob is a DER
// SEQUENCE of 48 content bytes in the long length form, ending 60 bytes into
// the table (kBlobEnd), then 4 zero bytes of padding.
Bytes SignedExecutable(uint32_t checksum = 0, size_t gap = 0) {
  Bytes f = FakeExecutable();
  f.resize(kTable + gap, 'G');
  Put32(f, kChecksum, checksum);
  Put32(f, kDirectory, static_cast<uint32_t>(kTable + gap));
  Put32(f, kDirectory + 4, 64);
  Bytes table(64, 0);
  Put32(table, 0, 64);
  Put16(table, 4, 0x0200);  // revision
  Put16(table, 6, 0x0002);  // PKCS_SIGNED_DATA
  const uint8_t der[] = {0x30, 0x82, 0x00, 48};
  std::copy(der, der + 4, table.begin() + 8);
  std::fill(table.begin() + 12, table.begin() + 60, 0xA5);
  f.insert(f.end(), table.begin(), table.end());
  return f;
}

// What Authenticode hashes here: the bytes before the table, without the
// CheckSum field and the directory entry.
Bytes HashedPart(Bytes f, size_t table) {
  f.resize(table);
  Put32(f, kChecksum, 0);
  Put32(f, kDirectory, 0);
  Put32(f, kDirectory + 4, 0);
  return f;
}

Bytes Branded(const Bytes& templ, const Text& id, const Bytes& icon = {}, bool replace = false) {
  Bytes out;
  std::string why;
  EXPECT_TRUE(Brand(templ, id, icon, replace, &out, &why)) << id << ": " << why;
  return out;
}

TEST(BrandSigned, PutsTheTrailerInsideTheTableAfterZeroPadding) {
  // Trailer of 12 + m bytes after a 60-byte entry: the table stays a multiple of 8,
  // also where it starts off the 8-byte grid.
  const struct {
    Text id;
    size_t padding;
  } cases[] = {{"1", 7},     {"12", 6},     {"123", 5},     {"1234", 4},
               {"12345", 3}, {"123456", 2}, {"1234567", 1}, {"12345678", 0}};
  for (const size_t gap : {0, 4}) {
    const Bytes templ = SignedExecutable(0, gap);
    const size_t table = kTable + gap, blobEnd = table + 60;
    for (const auto& c : cases) {
      const Bytes out = Branded(templ, c.id);
      const TrailerCheck check = CheckTrailer(out);
      EXPECT_TRUE(check.valid && check.in_signature) << c.id << ": " << check.problem;
      EXPECT_EQ(check.padding, static_cast<int64_t>(c.padding)) << c.id;
      const size_t end = blobEnd + c.padding + 12 + c.id.size();
      ASSERT_EQ(out.size(), end) << c.id;
      EXPECT_EQ(Get32(out, kDirectory + 4), end - table) << c.id;
      EXPECT_EQ(Get32(out, table), end - table) << c.id;
      EXPECT_EQ(HashedPart(out, table), HashedPart(templ, table)) << c.id;
      EXPECT_TRUE(
          std::equal(templ.begin() + table + 4, templ.begin() + blobEnd, out.begin() + table + 4))
          << c.id;
      EXPECT_EQ(Bytes(out.begin() + blobEnd, out.begin() + blobEnd + c.padding),
                Bytes(c.padding, 0))
          << c.id;
      EXPECT_EQ(LastBytes(out, 12 + c.id.size()), BuildBrandingTrailer(c.id, {})) << c.id;
      EXPECT_EQ(ParseBrandingTrailer(out).agent_id_text, c.id);
    }
  }
}

TEST(BrandSigned, ReplaceSwapsAnInsideTrailerAndMovesAnAppendedOneInside) {
  const Bytes templ = SignedExecutable();
  const Bytes direct = Branded(templ, "7");
  Bytes appended = templ;  // as the tool branded signed templates before
  const Bytes old = BuildBrandingTrailer("41159", DefaultIcon());
  appended.insert(appended.end(), old.begin(), old.end());
  const TrailerCheck appendedCheck = CheckTrailer(appended);
  EXPECT_TRUE(appendedCheck.valid && !appendedCheck.in_signature) << appendedCheck.problem;
  for (const Bytes& copy : {Branded(templ, "41159", DefaultIcon()), appended}) {
    Bytes out;
    std::string why;
    EXPECT_FALSE(Brand(copy, "7", {}, false, &out, &why));
    EXPECT_NE(why.find("already branded"), std::string::npos) << why;
    EXPECT_EQ(Branded(copy, "7", {}, true), direct);
  }
}

TEST(BrandSigned, KeepsANonZeroPeChecksumRight) {
  // 16-bit words, the field's bytes as zero, summed with end-around carry (so adding
  // 0xFFFF changes nothing), plus the byte count 11.
  const Bytes small = {1, 2, 3, 4, 0xAA, 0xBB, 0xCC, 0xDD, 0xFF, 0xFF, 5};
  EXPECT_EQ(PeChecksum(small, 4), 0x0201u + 0x0403 + 0xFFFF + 5 - 0xFFFF + 11);
  EXPECT_EQ(PeChecksum(small, 3), 0x0201u + 0x0003 + 0xDD00 + 0xFFFF + 5 - 0xFFFF + 11);
  const Bytes withSum = Branded(SignedExecutable(0x1234), "41159");
  EXPECT_EQ(Get32(withSum, kChecksum), PeChecksum(withSum, kChecksum));
  EXPECT_EQ(Get32(Branded(SignedExecutable(), "41159"), kChecksum), 0u);
}

TEST(BrandSigned, RefusesAMalformedTableThatEndsTheFile) {
  const struct {
    const char* what;
    std::function<void(Bytes&)> damage;
    const char* why;
  } cases[] = {
      {"dwLength 0", [](Bytes& f) { Put32(f, kTable, 0); }, "malformed"},
      {"dwLength past the table", [](Bytes& f) { Put32(f, kTable, 72); }, "malformed"},
      {"DER length past the entry", [](Bytes& f) { f[kTable + 10] = 0x01; }, "malformed"},
      {"indefinite DER length", [](Bytes& f) { f[kTable + 9] = 0x80; }, "malformed"},
      {"no SEQUENCE", [](Bytes& f) { f[kTable + 8] = 0x31; }, "malformed"},
      {"an X.509 entry", [](Bytes& f) { Put16(f, kTable + 6, 1); }, "malformed"},
      {"a remnant after the entry",
       [](Bytes& f) {
         f.resize(f.size() + 4, 0);
         Put32(f, kDirectory + 4, 68);
       },
       "malformed"},
      {"a table over the section",
       [](Bytes& f) {
         Put32(f, kDirectory, 960);
         Put32(f, kDirectory + 4, 128);
         Put32(f, 960, 128);
         Put16(f, 966, 2);
       },
       "malformed"},
      {"a table past the file", [](Bytes& f) { Put32(f, kDirectory + 4, 72); }, "cut short"},
  };
  for (const auto& c : cases) {
    Bytes templ = SignedExecutable();
    c.damage(templ);
    Bytes out;
    std::string why;
    EXPECT_FALSE(Brand(templ, "5", {}, false, &out, &why)) << c.what;
    EXPECT_NE(why.find(c.why), std::string::npos) << c.what << ": " << why;
    EXPECT_TRUE(out.empty()) << c.what;
  }
}

TEST(BrandSigned, AppendsAfterATableThatDoesNotEndTheFile) {
  Bytes templ = SignedExecutable();
  templ.push_back('x');
  const Bytes out = Branded(templ, "5");
  EXPECT_EQ(Bytes(out.begin(), out.begin() + templ.size()), templ);
  EXPECT_EQ(out.size(), templ.size() + 13);
  EXPECT_FALSE(CheckTrailer(out).in_signature);
}

TEST(CheckTrailer, RefusesATrailerInsideTheTableUnlessItFollowsTheSignature) {
  const Bytes branded = Branded(SignedExecutable(), "1");  // 7 bytes of padding
  Bytes dirty = branded;
  dirty[kBlobEnd + 3] = 1;
  Bytes x509 = branded;
  Put16(x509, kTable + 6, 1);
  // A blob whose last bytes read as a trailer and a table that ends with it.
  Bytes overlap = SignedExecutable();
  const Bytes trailer = BuildBrandingTrailer("5", {});
  std::copy(trailer.begin(), trailer.end(), overlap.begin() + kBlobEnd - trailer.size());
  overlap.resize(kBlobEnd);
  Put32(overlap, kDirectory + 4, 60);
  Put32(overlap, kTable, 60);
  const struct {
    const char* what;
    const Bytes& file;
    const char* problem;
  } cases[] = {{"non-zero padding", dirty, "other than zero"},
               {"a malformed table", x509, "overlaps the executable image"},
               {"a trailer in the blob", overlap, "overlaps the signature"}};
  ASSERT_TRUE(CheckTrailer(branded).valid);
  ASSERT_TRUE(FindSignatureTable(overlap).problem.empty());
  for (const auto& c : cases) {
    const TrailerCheck check = CheckTrailer(c.file);
    EXPECT_FALSE(check.valid) << c.what;
    EXPECT_NE(check.problem.find(c.problem), std::string::npos) << c.what << ": " << check.problem;
  }
}

}  // namespace
}  // namespace setup::brand
