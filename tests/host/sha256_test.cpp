#include "base/sha256.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace setup {
namespace {

Text Digest(const std::string& data) {
  Sha256 sha;
  sha.Update(data.data(), data.size());
  return sha.FinishHex();
}

TEST(Sha256, KnownDigests) {
  struct Case {
    std::string data;
    const char* hex;
  } cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",  // 56 bytes: two pad blocks
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const Case& c : cases) EXPECT_EQ(Digest(c.data), c.hex) << c.data.size() << " bytes";
}

TEST(Sha256, PiecesOfAnySizeGiveTheSameDigest) {
  std::string data(1000, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + 3);
  const Text whole = Digest(data);
  for (size_t piece : {1u, 3u, 63u, 64u, 65u, 127u, 999u}) {
    Sha256 sha;
    for (size_t at = 0; at < data.size(); at += piece)
      sha.Update(data.data() + at, std::min(piece, data.size() - at));
    EXPECT_EQ(sha.FinishHex(), whole) << "pieces of " << piece;
  }
}

TEST(Sha256, OfAFileAndOfNoFile) {
  const std::string path = ::testing::TempDir() + "sha256-test.bin";
  std::string data(200000, 'q');
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_TRUE(f);
  std::fwrite(data.data(), 1, data.size(), f);
  std::fclose(f);
  EXPECT_EQ(Sha256OfFile(path), Digest(data));
  std::remove(path.c_str());
  EXPECT_EQ(Sha256OfFile(path), "");
}

TEST(Sha256, DigestTextsAreCheckedAndComparedWithoutCase) {
  const Text lower = Digest("abc");
  const Text upper = AsciiUpper(lower);
  EXPECT_TRUE(IsSha256Hex(lower));
  EXPECT_TRUE(IsSha256Hex(upper));
  EXPECT_TRUE(SameSha256(lower, upper));
  EXPECT_FALSE(SameSha256(lower, Digest("abd")));
  for (const Text& bad : {Text(), Text(63, 'a'), Text(65, 'a'), Text(63, 'a') + "g",
                          Text(63, 'a') + " ", lower.substr(0, 32)}) {
    EXPECT_FALSE(IsSha256Hex(bad)) << bad;
    EXPECT_FALSE(SameSha256(bad, bad)) << "a malformed digest matches nothing, itself included";
  }
}

}  // namespace
}  // namespace setup
