#include "net/web_request.h"

#include "net/url_text.h"

namespace setup {

namespace {

const char kCrLf[] = "\r\n";
constexpr uint32_t kBodyReadSize = 1024;
constexpr uint32_t kHeaderBufferSize = 5000;

Text UserAgentFrom(const Text& extraHeaders) {
  if (!Contains(extraHeaders, "User-Agent:", true)) return kDefaultUserAgent;
  const Text agent = TrimBlanks(TextBetween(extraHeaders + kCrLf, "User-Agent:", kCrLf));
  return agent.empty() ? ValueAfterColon(extraHeaders) : agent;
}

Text HeaderBlock(const Text& url, const WebRequestArgs& args) {
  Text h = args.extraHeaders;
  if (h.empty()) {
    h = "Accept: */*";
  } else if (!Contains(h, "Accept:")) {
    h += "\r\nAccept: */*";
  }
  if (!Contains(h, "Referer:")) h += "\r\nReferer: " + url;
  if (!Contains(h, "Accept-Language:")) h += "\r\nAccept-Language: zh-cn";
  if (!Contains(h, "Content-Type:")) h += "\r\nContent-Type: application/x-www-form-urlencoded";
  const Text cookies = args.cookies.value_or(Text());
  if (!cookies.empty())
    h += Contains(cookies, "Cookie:") ? kCrLf + cookies : "\r\nCookie: " + cookies;
  return h;
}

// The raw reply-header block. A block longer than the first buffer is asked
// for again with the size the platform reports, so long headers keep their cookies.
Text QueryReplyHeaders(InternetApi& api, InternetApi::Handle request) {
  uint32_t size = kHeaderBufferSize;
  for (int attempt = 0; attempt < 2; ++attempt) {
    Text buffer(size + 1, '\0');
    uint32_t length = size;
    const InternetApi::QueryResult result =
        api.QueryInfo(request, inet::kQueryRawHeadersCrlf, &buffer[0], &length);
    if (result == InternetApi::QueryResult::kOk) return Text(buffer.c_str());
    if (result != InternetApi::QueryResult::kBufferTooSmall || length <= size) break;
    size = length;
  }
  return Text();
}

}  // namespace

RequestPlan PlanRequest(const Text& url, const WebRequestArgs& args) {
  RequestPlan plan;
  const int32_t method = (args.method < 0 || args.method > 2) ? 0 : args.method;
  static const char* const kVerbs[] = {"GET", "POST", "HEAD"};
  plan.verb = kVerbs[method];
  plan.https = AsciiLower(url).compare(0, 8, "https://") == 0;
  plan.agent = UserAgentFrom(args.extraHeaders);
  if (args.proxy.empty()) {
    plan.accessType = inet::kOpenTypeDirect;
  } else {
    plan.accessType = inet::kOpenTypeProxy;
    plan.proxy = plan.https ? args.proxy : "http=" + args.proxy;
    plan.bypass = Text();
  }
  plan.host = HostFromUrl(url);
  plan.port = static_cast<uint16_t>(PortFromUrl(url));
  plan.path = PathFromUrl(url);
  plan.flags = inet::kFlagReload | inet::kFlagNeedFile;
  if (args.cookies) plan.flags |= inet::kFlagNoCookies;
  if (args.noRedirect) plan.flags |= inet::kFlagNoAutoRedirect;
  plan.flags |= plan.https ? inet::kFlagSecure : inet::kFlagIgnoreRedirectToHttps;
  plan.headers = HeaderBlock(url, args);
  if (method != 0)
    plan.body = args.bodyBytes.empty() ? BytesFromText(args.bodyText) : args.bodyBytes;
  return plan;
}

Text NormaliseCookieHeaders(const Text& rawHeaders) {
  return ReplaceAll(rawHeaders, "Set-Cookie", "Set-Cookie", true);
}

Text CookiesFromHeaders(const Text& headers) {
  Text cookies;
  size_t pos = 0;
  while (pos < headers.size()) {
    size_t end = FindText(headers, kCrLf, pos);
    if (end == Text::npos) end = headers.size();
    const Text line = headers.substr(pos, end - pos);
    pos = end + 2;
    if (!Contains(line, "Set-Cookie")) continue;
    const Text value = Contains(line, ";") ? TrimBlanks(TextBetween(line, "Set-Cookie:", ";"))
                                           : TrimBlanks(ReplaceAll(line, "Set-Cookie:", "", true));
    cookies += value + "; ";
  }
  if (cookies.size() >= 2) cookies.resize(cookies.size() - 2);
  return cookies;
}

Bytes WebRequest(InternetApi& api, const Text& url, const WebRequestArgs& args) {
  const RequestPlan plan = PlanRequest(url, args);
  InternetHandle root(
      api, api.Open(plan.agent.c_str(), plan.accessType, plan.proxy ? plan.proxy->c_str() : nullptr,
                    plan.bypass ? plan.bypass->c_str() : nullptr));
  if (!root) return Bytes();
  InternetHandle connection(
      api, api.Connect(root.get(), plan.host.c_str(), plan.port, inet::kServiceHttp));
  if (!connection) return Bytes();
  InternetHandle request(api, api.OpenRequest(connection.get(), plan.verb.c_str(),
                                              plan.path.c_str(), "HTTP/1.1", plan.flags));
  if (!request) return Bytes();

  api.SendRequest(request.get(), plan.headers.c_str(), static_cast<uint32_t>(plan.headers.size()),
                  plan.body.empty() ? nullptr : plan.body.data(),
                  static_cast<uint32_t>(plan.body.size()));
  Bytes body;
  uint8_t chunk[kBodyReadSize];
  uint32_t got = 0;
  while (api.ReadFile(request.get(), chunk, kBodyReadSize, &got) && got > 0) {
    body.insert(body.end(), chunk, chunk + got);
  }
  const Text headers = NormaliseCookieHeaders(QueryReplyHeaders(api, request.get()));
  request.Reset();
  connection.Reset();
  root.Reset();
  if (args.replyHeaders) *args.replyHeaders = headers;
  if (args.replyCookies) *args.replyCookies = CookiesFromHeaders(headers);
  return body;
}

}  // namespace setup
