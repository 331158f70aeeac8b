// The URL, marker and header helpers of the web request on any text: the
// input is split at zero bytes into a text, two markers and a URL.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "net/url_text.h"
#include "net/web_request.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<setup::Text> parts(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0 && parts.size() < 4) {
      parts.emplace_back();
    } else {
      parts.back() += static_cast<char>(data[i]);
    }
  }
  parts.resize(4);
  const setup::Text& text = parts[0];
  for (int64_t start : {int64_t{-3}, int64_t{1}, static_cast<int64_t>(size / 2) + 1}) {
    for (bool ignoreCase : {false, true}) {
      const setup::Text between = setup::TextBetween(text, parts[1], parts[2], start, ignoreCase);
      if (between.size() > text.size()) __builtin_trap();
    }
  }
  const setup::Text trimmed = setup::TrimBlanks(text);
  if (!trimmed.empty() && trimmed[0] == ' ') __builtin_trap();
  setup::ValueAfterColon(text);

  const setup::Text& url = parts[3].empty() ? text : parts[3];
  setup::HostFromUrl(url, false);
  setup::HostFromUrl(url, true);
  setup::PortFromUrl(url);
  const setup::Text path = setup::PathFromUrl(url);
  if (path.empty() || path[0] != '/') __builtin_trap();

  setup::WebRequestArgs args;
  args.extraHeaders = parts[1];
  args.cookies = parts[2];
  args.proxy = parts[2].size() % 2 ? parts[2] : setup::Text();
  args.method = static_cast<int32_t>(size % 5) - 1;
  setup::PlanRequest(url, args);
  setup::CookiesFromHeaders(setup::NormaliseCookieHeaders(text));
  return 0;
}
