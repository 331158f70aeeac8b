// Small text routines of the web request: marker searches, header values and
// the parts of a URL. Searches work on bytes and never match at the second
// byte of a double-byte character.
#pragma once

#include <cstdint>

#include "base/text.h"

namespace setup {

// Removes ASCII spaces and the ideographic blank (A1 A1) at both ends; tabs
// and line breaks stay.
Text TrimBlanks(const Text& text);

// The text between the first `left` at or after the 1-based `start` and the
// first `right` after it; empty when either is missing. In both markers
// "#引号" stands for a double quote.
Text TextBetween(const Text& text, const Text& left, const Text& right, int64_t start = 1,
                 bool ignoreCase = false);

// Everything after the first ":" of `text`, trimmed; empty without a colon.
Text ValueAfterColon(const Text& text);

// The lower-cased host of `url`, with ":port" only when `keepPort` is set.
Text HostFromUrl(const Text& url, bool keepPort = false);

// The explicit port of `url`, else 443 for https and 80 otherwise.
int32_t PortFromUrl(const Text& url);

// The object path with its query, from the first "/" after the host; "/" when none.
Text PathFromUrl(const Text& url);

}  // namespace setup
