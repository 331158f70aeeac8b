// One blocking HTTP or HTTPS request: default header block, user agent, proxy
// choice, optional body; hands back the body, the raw reply headers and the
// reply's cookies.
#pragma once

#include <cstdint>
#include <optional>

#include "base/text.h"
#include "net/internet_api.h"

namespace setup {

// The arguments after the URL; each defaults to its omitted value.
struct WebRequestArgs {
  int32_t method = 0;  // 0 GET, 1 POST, 2 HEAD; others mean GET
  Text bodyText;
  std::optional<Text> cookies;   // supplied at all, even empty: no platform cookies
  Text* replyCookies = nullptr;  // out: name=value pairs joined by "; "
  Text extraHeaders;             // header lines separated by CR LF
  Text* replyHeaders = nullptr;  // out: status line and header lines
  bool noRedirect = false;
  Bytes bodyBytes;  // wins over bodyText when not empty
  Text proxy;       // host:port; empty means a direct connection
};

constexpr char kDefaultUserAgent[] = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// Everything the request passes to the platform, composed from the arguments.
struct RequestPlan {
  Text verb;
  bool https = false;
  Text agent;
  uint32_t accessType = 0;
  std::optional<Text> proxy;   // null proxy text when absent
  std::optional<Text> bypass;  // null bypass list when absent
  Text host;
  uint16_t port = 0;
  Text path;
  uint32_t flags = 0;
  Text headers;
  Bytes body;  // empty for GET
};

RequestPlan PlanRequest(const Text& url, const WebRequestArgs& args);

// The reply-header block with every "Set-Cookie" (any letter case) written as "Set-Cookie".
Text NormaliseCookieHeaders(const Text& rawHeaders);
// The cookies of a (normalised) reply-header block: "a=1; b=2".
Text CookiesFromHeaders(const Text& headers);

// Performs the request through `api`; the body, or an empty buffer when the
// request could not be opened (the out arguments are then left as they were).
Bytes WebRequest(InternetApi& api, const Text& url, const WebRequestArgs& args = {});

}  // namespace setup
