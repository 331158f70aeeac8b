#include "net/url_text.h"

#include <gtest/gtest.h>

namespace setup {
namespace {

TEST(TrimBlanks, RemovesSpacesAndIdeographicBlanksOnly) {
  EXPECT_EQ(TrimBlanks("  a b  "), "a b");
  EXPECT_EQ(TrimBlanks("\xA1\xA1 x \xA1\xA1"), "x");
  EXPECT_EQ(TrimBlanks("\tx\r\n"), "\tx\r\n");
  EXPECT_EQ(TrimBlanks("   "), "");
  EXPECT_EQ(TrimBlanks(""), "");
  // A1 A1 that is the tail of "\xB0\xA1" + "\xA1..." is no whole blank.
  EXPECT_EQ(TrimBlanks("\xB0\xA1\xA1"), "\xB0\xA1\xA1");
}

TEST(TextBetween, FindsTheTextBetweenTwoMarkers) {
  struct Case {
    Text text, left, right;
    int64_t start;
    bool ignoreCase;
    Text want;
  } cases[] = {
      {"a[x]b[y]", "[", "]", 1, false, "x"},
      {"a[x]b[y]", "[", "]", 4, false, "y"},
      {"a[x]b[y]", "[", "]", -5, false, "x"},
      {"a[x]b[y]", "[", "]", 99, false, ""},
      {"a[x", "[", "]", 1, false, ""},
      {"ax]", "[", "]", 1, false, ""},
      {"name=\"v\";", "name=#引号", "#引号", 1, false, "v"},
      {"KEY:v;", "key:", ";", 1, true, "v"},
      {"KEY:v;", "key:", ";", 1, false, ""},
      {"\xB0[x][y]", "[", "]", 1, false, "y"},  // the first "[" is a trail byte
      {"<<>>", "<<", ">>", 1, false, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.ignoreCase), c.want) << c.text;
}

TEST(ValueAfterColon, TakesTheTrimmedRest) {
  EXPECT_EQ(ValueAfterColon("user-agent: Tool/1 "), "Tool/1");
  EXPECT_EQ(ValueAfterColon("a:b:c"), "b:c");
  EXPECT_EQ(ValueAfterColon("no colon"), "");
}

TEST(UrlParts, HostPortAndPath) {
  struct Case {
    Text url, host, hostWithPort;
    int32_t port;
    Text path;
  } cases[] = {
      {"http://Example.com/a/B?x=1", "example.com", "example.com", 80, "/a/B?x=1"},
      {"HTTPS://Example.COM:8443/Path?Q=A", "example.com", "example.com:8443", 8443, "/Path?Q=A"},
      {"https://host", "host", "host", 443, "/"},
      {"example.com/a/b?x=1", "example.com", "example.com", 80, "/a/b?x=1"},
      {"example.com", "example.com", "example.com", 80, "/"},
      {"http://127.0.0.1:8731/app_api/getapp?app_id=1", "127.0.0.1", "127.0.0.1:8731", 8731,
       "/app_api/getapp?app_id=1"},
      {"http://h/x", "h", "h", 80, "/x"},  // a host that also occurs in the scheme
      {"http://tp:81/p", "tp", "tp:81", 81, "/p"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HostFromUrl(c.url), c.host) << c.url;
    EXPECT_EQ(HostFromUrl(c.url, true), c.hostWithPort) << c.url;
    EXPECT_EQ(PortFromUrl(c.url), c.port) << c.url;
    EXPECT_EQ(PathFromUrl(c.url), c.path) << c.url;
  }
}

}  // namespace
}  // namespace setup
