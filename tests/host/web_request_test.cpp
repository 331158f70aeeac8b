#include "net/web_request.h"

#include <gtest/gtest.h>

#include "fake_internet.h"

namespace setup {
namespace {

using testing::Call;
using testing::FakeInternet;

const char kUrl[] = "http://api.example.com/app_api/getapp?app_id=1";
const Text kDefaultHeaders =
    Text("Accept: */*\r\nReferer: ") + kUrl +
    "\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";

TEST(PlanRequest, DefaultsForAPlainGet) {
  const RequestPlan plan = PlanRequest(kUrl, {});
  EXPECT_EQ(plan.verb, "GET");
  EXPECT_FALSE(plan.https);
  EXPECT_EQ(plan.agent, kDefaultUserAgent);
  EXPECT_EQ(plan.accessType, inet::kOpenTypeDirect);
  EXPECT_FALSE(plan.proxy.has_value());
  EXPECT_FALSE(plan.bypass.has_value());
  EXPECT_EQ(plan.host, "api.example.com");
  EXPECT_EQ(plan.port, 80);
  EXPECT_EQ(plan.path, "/app_api/getapp?app_id=1");
  EXPECT_EQ(plan.flags, inet::kFlagReload | inet::kFlagNeedFile | inet::kFlagIgnoreRedirectToHttps);
  EXPECT_EQ(plan.headers, kDefaultHeaders);
  EXPECT_TRUE(plan.body.empty());
}

TEST(PlanRequest, Verbs) {
  struct Case {
    int32_t method;
    const char* verb;
  } cases[] = {{0, "GET"}, {1, "POST"}, {2, "HEAD"}, {7, "GET"}, {-1, "GET"}};
  for (const Case& c : cases) {
    WebRequestArgs args;
    args.method = c.method;
    EXPECT_EQ(PlanRequest(kUrl, args).verb, c.verb) << c.method;
  }
}

TEST(PlanRequest, SchemeDecidesTheSecureFlag) {
  const RequestPlan plan = PlanRequest("HTTPS://Example.COM:8443/Path?Q=A", {});
  EXPECT_TRUE(plan.https);
  EXPECT_EQ(plan.host, "example.com");
  EXPECT_EQ(plan.port, 8443);
  EXPECT_EQ(plan.path, "/Path?Q=A");
  EXPECT_EQ(plan.flags, inet::kFlagReload | inet::kFlagNeedFile | inet::kFlagSecure);
}

TEST(PlanRequest, UserAgentFromTheExtraHeaders) {
  struct Case {
    Text extra, agent;
  } cases[] = {
      {"user-agent: Tool/1", "Tool/1"},
      {"User-Agent: Tool/2\r\nX-A: b", "Tool/2"},
      {"X-A: b\r\nUser-Agent:   Tool/3  ", "Tool/3"},
      {"X-A: b", kDefaultUserAgent},
  };
  for (const Case& c : cases) {
    WebRequestArgs args;
    args.extraHeaders = c.extra;
    const RequestPlan plan = PlanRequest(kUrl, args);
    EXPECT_EQ(plan.agent, c.agent) << c.extra;
    EXPECT_EQ(plan.headers.compare(0, c.extra.size(), c.extra), 0) << "header line kept";
  }
}

TEST(PlanRequest, DefaultHeaderLinesAreAddedOnlyWhenMissing) {
  WebRequestArgs args;
  args.extraHeaders = "Referer: http://r/";
  EXPECT_EQ(PlanRequest(kUrl, args).headers,
            "Referer: http://r/\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
            "Content-Type: application/x-www-form-urlencoded");
  args.extraHeaders = "Accept: text/html\r\nAccept-Language: en\r\nContent-Type: a/b";
  EXPECT_EQ(
      PlanRequest(kUrl, args).headers,
      "Accept: text/html\r\nAccept-Language: en\r\nContent-Type: a/b\r\nReferer: " + Text(kUrl));
}

TEST(PlanRequest, Cookies) {
  struct Case {
    std::optional<Text> cookies;
    Text suffix;
    bool noCookiesFlag;
  } cases[] = {
      {std::nullopt, "", false},
      {Text(""), "", true},
      {Text("a=1"), "\r\nCookie: a=1", true},
      {Text("Cookie: b=2"), "\r\nCookie: b=2", true},
  };
  for (const Case& c : cases) {
    WebRequestArgs args;
    args.cookies = c.cookies;
    const RequestPlan plan = PlanRequest(kUrl, args);
    EXPECT_EQ(plan.headers, kDefaultHeaders + c.suffix);
    EXPECT_EQ((plan.flags & inet::kFlagNoCookies) != 0, c.noCookiesFlag);
  }
}

TEST(PlanRequest, BodiesAndFlags) {
  WebRequestArgs args;
  args.method = 1;
  args.bodyText = "text";
  args.bodyBytes = {'b', 'y', 't', 'e', 's'};
  EXPECT_EQ(PlanRequest(kUrl, args).body, Bytes({'b', 'y', 't', 'e', 's'}));
  args.bodyBytes.clear();
  EXPECT_EQ(PlanRequest(kUrl, args).body, Bytes({'t', 'e', 'x', 't'}));
  args.method = 0;
  EXPECT_TRUE(PlanRequest(kUrl, args).body.empty()) << "a GET sends no body";
  args.noRedirect = true;
  EXPECT_NE(PlanRequest(kUrl, args).flags & inet::kFlagNoAutoRedirect, 0u);
}

TEST(PlanRequest, Proxy) {
  WebRequestArgs args;
  args.proxy = "proxy:3128";
  RequestPlan plan = PlanRequest(kUrl, args);
  EXPECT_EQ(plan.accessType, inet::kOpenTypeProxy);
  EXPECT_EQ(plan.proxy, Text("http=proxy:3128"));
  EXPECT_EQ(plan.bypass, Text(""));
  plan = PlanRequest("https://secure/x", args);
  EXPECT_EQ(plan.proxy, Text("proxy:3128"));
}

TEST(ReplyCookies, AreCollectedFromSetCookieLines) {
  const Text raw =
      "HTTP/1.1 200 OK\r\nset-cookie: sid=9; Path=/\r\nContent-Type: text/plain\r\n"
      "SET-COOKIE: lang=cn\r\n\r\n";
  const Text headers = NormaliseCookieHeaders(raw);
  EXPECT_EQ(headers,
            "HTTP/1.1 200 OK\r\nSet-Cookie: sid=9; Path=/\r\nContent-Type: text/plain\r\n"
            "Set-Cookie: lang=cn\r\n\r\n");
  EXPECT_EQ(CookiesFromHeaders(headers), "sid=9; lang=cn");
  EXPECT_EQ(CookiesFromHeaders("HTTP/1.1 200 OK\r\nX: y\r\n\r\n"), "");
  EXPECT_EQ(CookiesFromHeaders(""), "");
}

TEST(WebRequest, PassesThePlanToThePlatformAndReadsTheReply) {
  FakeInternet net;
  net.body = std::string(2500, 'b');
  net.rawHeaders = "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; Path=/\r\n\r\n";
  Text headers = "unchanged", cookies = "unchanged";
  WebRequestArgs args;
  args.replyHeaders = &headers;
  args.replyCookies = &cookies;
  const Bytes body = WebRequest(net, kUrl, args);
  EXPECT_EQ(body, Bytes(2500, 'b'));
  EXPECT_EQ(headers, net.rawHeaders);
  EXPECT_EQ(cookies, "a=1");

  ASSERT_EQ(net.CallsOf("Open").size(), 1u);
  EXPECT_EQ(net.CallsOf("Open")[0].args,
            (std::vector<std::string>{kDefaultUserAgent, "1", "<null>", "<null>"}));
  EXPECT_EQ(net.CallsOf("Connect")[0].args,
            (std::vector<std::string>{"api.example.com", "80", "3"}));
  EXPECT_EQ(
      net.CallsOf("OpenRequest")[0].args,
      (std::vector<std::string>{"GET", "/app_api/getapp?app_id=1", "HTTP/1.1", "0x80004010"}));
  EXPECT_EQ(net.CallsOf("Send")[0].args,
            (std::vector<std::string>{kDefaultHeaders, std::to_string(kDefaultHeaders.size()),
                                      "<null>", "0"}));
  for (const Call& read : net.CallsOf("Read")) EXPECT_EQ(read.args[0], "1024");
  EXPECT_EQ(net.CallsOf("Read").size(), 4u) << "three reads with data, one with none";
  EXPECT_EQ(net.CallsOf("QueryInfo")[0].args, (std::vector<std::string>{"0x16", "5000"}));
  EXPECT_EQ(net.closed, (std::vector<uintptr_t>{3, 2, 1})) << "request, connection, root";
}

TEST(WebRequest, LongReplyHeadersKeepTheirCookies) {
  FakeInternet net;
  net.rawHeaders = "HTTP/1.1 200 OK\r\nX-Pad: " + std::string(6000, 'p') +
                   "\r\nset-cookie: sid=9; Path=/\r\nSet-Cookie: lang=cn\r\n\r\n";
  Text headers, cookies;
  WebRequestArgs args;
  args.replyHeaders = &headers;
  args.replyCookies = &cookies;
  WebRequest(net, kUrl, args);
  EXPECT_EQ(headers, NormaliseCookieHeaders(net.rawHeaders));
  EXPECT_EQ(cookies, "sid=9; lang=cn");
  const std::vector<Call> queries = net.CallsOf("QueryInfo");
  ASSERT_EQ(queries.size(), 2u);
  EXPECT_EQ(queries[1].args[1], std::to_string(net.rawHeaders.size() + 1));
}

TEST(WebRequest, AFailedHeaderQueryGivesNoHeaders) {
  FakeInternet net;
  net.failHeaderQuery = true;
  Text headers = "old", cookies = "old";
  WebRequestArgs args;
  args.replyHeaders = &headers;
  args.replyCookies = &cookies;
  WebRequest(net, kUrl, args);
  EXPECT_EQ(headers, "");
  EXPECT_EQ(cookies, "");
}

TEST(WebRequest, PostSendsItsBody) {
  FakeInternet net;
  WebRequestArgs args;
  args.method = 1;
  args.bodyText = "a=1&b=2";
  WebRequest(net, kUrl, args);
  EXPECT_EQ(net.CallsOf("Send")[0].args[2], "a=1&b=2");
  EXPECT_EQ(net.CallsOf("Send")[0].args[3], "7");
}

TEST(WebRequest, AReadFailureEndsTheBody) {
  FakeInternet net;
  net.body = std::string(3000, 'x');
  net.failReadAt = 1;
  EXPECT_EQ(WebRequest(net, kUrl).size(), 1024u);
}

TEST(WebRequest, OpenFailuresCloseWhatWasOpenedAndLeaveTheOutputs) {
  struct Case {
    bool failOpen, failConnect, failRequest;
    std::vector<uintptr_t> closed;
  } cases[] = {{true, false, false, {}}, {false, true, false, {1}}, {false, false, true, {2, 1}}};
  for (const Case& c : cases) {
    FakeInternet net;
    net.body = "never read";
    net.failOpen = c.failOpen;
    net.failConnect = c.failConnect;
    net.failRequest = c.failRequest;
    Text headers = "as before", cookies = "as before";
    WebRequestArgs args;
    args.replyHeaders = &headers;
    args.replyCookies = &cookies;
    EXPECT_TRUE(WebRequest(net, kUrl, args).empty());
    EXPECT_EQ(net.closed, c.closed);
    EXPECT_TRUE(net.CallsOf("Send").empty());
    EXPECT_EQ(headers, "as before");
    EXPECT_EQ(cookies, "as before");
  }
}

}  // namespace
}  // namespace setup
