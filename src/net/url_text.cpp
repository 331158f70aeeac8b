#include "net/url_text.h"

namespace setup {

namespace {
const char kIdeographicBlank[] = "\xA1\xA1";
const char kQuoteMarker[] = "#引号";

bool StartsWith(const Text& text, const Text& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}
}  // namespace

Text TrimBlanks(const Text& text) {
  size_t begin = 0, end = text.size();
  for (;;) {
    if (begin < end && text[begin] == ' ') {
      ++begin;
    } else if (end - begin >= 2 && text.compare(begin, 2, kIdeographicBlank) == 0) {
      begin += 2;
    } else {
      break;
    }
  }
  // From the right, a blank pair only counts when it is a whole character.
  for (;;) {
    if (end > begin && text[end - 1] == ' ') {
      --end;
    } else if (end - begin >= 2 && text.compare(end - 2, 2, kIdeographicBlank) == 0 &&
               FindText(text, kIdeographicBlank, end - 2) == end - 2) {
      end -= 2;
    } else {
      break;
    }
  }
  return text.substr(begin, end - begin);
}

Text TextBetween(const Text& text, const Text& left, const Text& right, int64_t start,
                 bool ignoreCase) {
  const Text l = ReplaceAll(left, kQuoteMarker, "\"");
  const Text r = ReplaceAll(right, kQuoteMarker, "\"");
  const size_t from = start > 1 ? static_cast<size_t>(start - 1) : 0;
  if (from > text.size()) return Text();
  const size_t at = FindText(text, l, from, ignoreCase);
  if (at == Text::npos) return Text();
  const size_t begin = at + l.size();
  const size_t end = FindText(text, r, begin, ignoreCase);
  if (end == Text::npos) return Text();
  return text.substr(begin, end - begin);
}

Text ValueAfterColon(const Text& text) {
  const size_t colon = FindText(text, ":");
  if (colon == Text::npos) return Text();
  return TrimBlanks(text.substr(colon + 1));
}

Text HostFromUrl(const Text& url, bool keepPort) {
  Text u = AsciiLower(url);
  if (u.empty() || u.back() != '/') u += '/';
  Text host;
  if (StartsWith(u, "https://")) {
    host = TextBetween(u, "https://", "/");
  } else {
    if (!Contains(u, "http://")) u = "http://" + u;
    host = TextBetween(u, "http://", "/");
  }
  if (!keepPort) {
    const size_t colon = FindText(host, ":");
    if (colon != Text::npos) host.resize(colon);
  }
  return host;
}

int32_t PortFromUrl(const Text& url) {
  const Text host = HostFromUrl(url, true);
  const size_t colon = host.rfind(':');
  if (colon != Text::npos) return TextToInt(host.substr(colon + 1));
  return StartsWith(AsciiLower(url), "https") ? 443 : 80;
}

Text PathFromUrl(const Text& url) {
  // The host is looked for after the scheme, so that a host such as "h" or
  // "tp" is not found inside "http://".
  const size_t scheme = FindText(url, "://");
  const bool hasScheme = scheme != Text::npos && FindText(url, "/") == scheme + 1;
  const size_t hostFrom = hasScheme ? scheme + 3 : 0;
  size_t at = FindText(url, HostFromUrl(url), hostFrom, true);
  if (at == Text::npos) at = 0;
  const size_t slash = FindText(url, "/", at);
  if (slash == Text::npos) return "/";
  return url.substr(slash);
}

}  // namespace setup
