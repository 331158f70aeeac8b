#include "net/json_value.h"

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <cstdio>
#include <cstdlib>

#include "base/code_page.h"

namespace setup {

JsonValue JsonValue::Of(JsonType type) {
  JsonValue v;
  v.type = type;
  return v;
}

JsonValue JsonValue::String(const Text& text) {
  JsonValue v = Of(JsonType::kString);
  v.text = text;
  return v;
}

JsonValue JsonValue::Number(double number) {
  JsonValue v = Of(JsonType::kNumber);
  v.number = number;
  return v;
}

namespace {

// Number text goes through the C run time's correctly rounded conversions in
// the "C" locale (the program never changes it). On Windows the mingw-w64 ones
// are used: msvcrt's would write three exponent digits ("2.5e+020").
#ifdef _WIN32
#define SETUP_FORMAT __mingw_snprintf
#define SETUP_STRTOD __mingw_strtod
#else
#define SETUP_FORMAT std::snprintf
#define SETUP_STRTOD std::strtod
#endif

// Writes `number` with `format` (one "%.*" conversion) at `precision` digits.
Text Formatted(const char* format, int precision, double number) {
  char buf[64];
  const int n = SETUP_FORMAT(buf, sizeof buf, format, precision, number);
  return Text(buf, n > 0 && n < static_cast<int>(sizeof buf) ? n : 0);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// A value beyond the range of a double is read by its decimal exponent.
// The decimal exponent of the first significant digit tells an overflow (the
// largest double of that sign) from an underflow (zero of that sign).
double OutOfRangeNumber(const char* p, const char* end) {
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  int64_t exponent = -1;
  bool significant = false, fraction = false;
  for (; p < end && *p != 'e' && *p != 'E'; ++p) {
    if (*p == '.') {
      fraction = true;
      continue;
    }
    if (*p != '0') significant = true;
    if (significant && !fraction) ++exponent;  // integer digits from the first significant one
    if (!significant && fraction) --exponent;  // zeros between the point and that digit
  }
  if (p < end) {
    ++p;
    const bool down = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    int64_t written = 0;
    for (; p < end; ++p) written = std::min<int64_t>(written * 10 + (*p - '0'), 100000000);
    exponent += down ? -written : written;
  }
  if (exponent > 0) return negative ? -DBL_MAX : DBL_MAX;
  return negative ? -0.0 : 0.0;
}

// Converts a run already checked to be a decimal number (sign, digits, point,
// exponent), the same on every platform and in every locale.
bool NumberFromRun(const char* first, const char* last, double& out) {
  const std::string run(first, last);  // strtod wants a terminated text
  char* end = nullptr;
  errno = 0;
  double value = SETUP_STRTOD(run.c_str(), &end);
  if (end != run.c_str() + run.size()) return false;
  if (errno == ERANGE) value = OutOfRangeNumber(first, last);
  out = value;
  return true;
}

class Reader {
 public:
  explicit Reader(const Text& text) : s_(text) {}

  bool Document(JsonValue& out) {
    SkipBlanks();
    if (!Value(out, 0)) return false;
    SkipBlanks();
    return pos_ == s_.size();
  }

 private:
  bool At(char c) const { return pos_ < s_.size() && s_[pos_] == c; }
  bool AtDigit() const { return pos_ < s_.size() && IsDigit(s_[pos_]); }

  void SkipBlanks() {
    while (At(' ') || At('\t') || At('\n') || At('\r')) ++pos_;
  }

  bool Word(const char* word, size_t length) {
    if (s_.compare(pos_, length, word) != 0) return false;
    pos_ += length;
    return true;
  }

  // `depth` counts the containers around the value.
  bool Value(JsonValue& out, int depth) {
    if (pos_ >= s_.size()) return false;
    switch (s_[pos_]) {
      case '{':
        return Object(out, depth + 1);
      case '[':
        return Array(out, depth + 1);
      case '"':
        out.type = JsonType::kString;
        return String(out.text);
      case 't':
      case 'f':
        out.type = JsonType::kBool;
        out.flag = s_[pos_] == 't';
        return out.flag ? Word("true", 4) : Word("false", 5);
      case 'n':
        out.type = JsonType::kNull;
        return Word("null", 4);
      default:
        out.type = JsonType::kNumber;
        return Number(out.number);
    }
  }

  bool Object(JsonValue& out, int depth) {
    if (depth > kMaxJsonDepth) return false;
    out = JsonValue::Object();
    ++pos_;
    SkipBlanks();
    if (At('}')) {
      ++pos_;
      return true;
    }
    for (;;) {
      Text key;
      if (!At('"') || !String(key)) return false;
      SkipBlanks();
      if (!At(':')) return false;
      ++pos_;
      SkipBlanks();
      JsonValue member;
      if (!Value(member, depth)) return false;
      // A repeated name keeps its first place and takes the last value, as a
      // script engine reading the same text would.
      const auto found = std::find(out.keys.begin(), out.keys.end(), key);
      if (found != out.keys.end()) {
        out.items[found - out.keys.begin()] = std::move(member);
      } else {
        out.keys.push_back(std::move(key));
        out.items.push_back(std::move(member));
      }
      SkipBlanks();
      if (At('}')) {
        ++pos_;
        return true;
      }
      if (!At(',')) return false;
      ++pos_;
      SkipBlanks();
    }
  }

  bool Array(JsonValue& out, int depth) {
    if (depth > kMaxJsonDepth) return false;
    out = JsonValue::Array();
    ++pos_;
    SkipBlanks();
    if (At(']')) {
      ++pos_;
      return true;
    }
    for (;;) {
      out.items.emplace_back();
      if (!Value(out.items.back(), depth)) return false;
      SkipBlanks();
      if (At(']')) {
        ++pos_;
        return true;
      }
      if (!At(',')) return false;
      ++pos_;
      SkipBlanks();
    }
  }

  bool Number(double& out) {
    const size_t start = pos_;
    if (At('-')) ++pos_;
    if (At('0')) {
      ++pos_;
    } else if (AtDigit()) {
      while (AtDigit()) ++pos_;
    } else {
      return false;
    }
    if (At('.')) {
      ++pos_;
      if (!AtDigit()) return false;
      while (AtDigit()) ++pos_;
    }
    if (At('e') || At('E')) {
      ++pos_;
      if (At('+') || At('-')) ++pos_;
      if (!AtDigit()) return false;
      while (AtDigit()) ++pos_;
    }
    return NumberFromRun(s_.data() + start, s_.data() + pos_, out);
  }

  // The bytes of the reply are already code page 936 and pass through; only a
  // double-byte character is taken whole, since its trail byte may be a
  // backslash.
  bool String(Text& out) {
    ++pos_;  // the opening quote
    while (pos_ < s_.size()) {
      const int width = CharWidthAt(s_, pos_);
      if (width == 0) return false;
      if (width == 2) {
        out.append(s_, pos_, 2);
        pos_ += 2;
        continue;
      }
      const char c = s_[pos_++];
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20) return false;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= s_.size()) return false;
      switch (s_[pos_++]) {
        case '"':
          out += '"';
          break;
        case '\\':
          out += '\\';
          break;
        case '/':
          out += '/';
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'n':
          out += '\n';
          break;
        case 'r':
          out += '\r';
          break;
        case 't':
          out += '\t';
          break;
        case 'u':
          if (!UnicodeEscape(out)) return false;
          break;
        default:
          return false;
      }
    }
    return false;  // the text ended inside the string
  }

  bool Hex4(uint32_t& unit) {
    if (s_.size() - pos_ < 4) return false;
    unit = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = s_[pos_ + i];
      int digit;
      if (IsDigit(c)) {
        digit = c - '0';
      } else if (c >= 'a' && c <= 'f') {
        digit = c - 'a' + 10;
      } else if (c >= 'A' && c <= 'F') {
        digit = c - 'A' + 10;
      } else {
        return false;
      }
      unit = unit * 16 + digit;
    }
    pos_ += 4;
    return true;
  }

  // After "\u": one UTF-16 unit, or two when they form a surrogate pair.
  bool UnicodeEscape(Text& out) {
    uint32_t unit = 0;
    if (!Hex4(unit)) return false;
    if (unit >= 0xD800 && unit <= 0xDBFF && s_.compare(pos_, 2, "\\u") == 0) {
      const size_t resume = pos_;
      pos_ += 2;
      uint32_t low = 0;
      if (Hex4(low) && low >= 0xDC00 && low <= 0xDFFF) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
      } else {
        pos_ = resume;  // the next escape stands on its own
      }
    }
    out += AnsiFromCodePoint(unit);
    return true;
  }

  const Text& s_;
  size_t pos_ = 0;
};

void WriteString(const Text& s, Text& out) {
  static const char kHex[] = "0123456789abcdef";
  out += '"';
  for (size_t i = 0; i < s.size();) {
    const int width = CharWidthAt(s, i);
    if (width == 2) {
      out.append(s, i, 2);
      i += 2;
      continue;
    }
    const unsigned char c = static_cast<unsigned char>(s[i++]);
    if (width == 0) {
      out += '?';  // no character of the code page: never let it swallow what follows
      continue;
    }
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          out += "\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 15];
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
}

// The shortest digits that read back as the same double, laid out as a script
// engine's number-to-text does: plain up to 21 integer digits, exponent beyond.
void WriteNumber(double number, Text& out) {
  if (number == 0) {
    out += '0';
    return;
  }
  // The fewest significant digits that read back as the same double.
  Text text;
  for (int precision = 0; precision <= 16; ++precision) {
    text = Formatted("%.*e", precision, number);
    if (SETUP_STRTOD(text.c_str(), nullptr) == number) break;
  }
  const char* p = text.c_str();
  const char* const end = p + text.size();
  if (*p == '-') {
    out += '-';
    ++p;
  }
  Text digits;
  for (; p < end && *p != 'e'; ++p) {
    if (*p != '.') digits += *p;
  }
  ++p;  // 'e'
  const bool down = p < end && *p == '-';
  if (p < end && (*p == '-' || *p == '+')) ++p;
  int exponent = 0;
  for (; p < end; ++p) exponent = exponent * 10 + (*p - '0');
  if (down) exponent = -exponent;

  const int k = static_cast<int>(digits.size());
  const int n = exponent + 1;  // position of the decimal point after the first digit
  if (k <= n && n <= 21) {
    out += digits;
    out.append(n - k, '0');
  } else if (0 < n && n <= 21) {
    out.append(digits, 0, n);
    out += '.';
    out.append(digits, n, Text::npos);
  } else if (-6 < n && n <= 0) {
    out += "0.";
    out.append(-n, '0');
    out += digits;
  } else {
    out += digits[0];
    if (k > 1) {
      out += '.';
      out.append(digits, 1, Text::npos);
    }
    out += n - 1 < 0 ? "e-" : "e+";
    out += DecimalText(n - 1 < 0 ? 1 - n : n - 1);
  }
}

void Write(const JsonValue& v, Text& out) {
  switch (v.type) {
    case JsonType::kNull:
      out += "null";
      break;
    case JsonType::kBool:
      out += v.flag ? "true" : "false";
      break;
    case JsonType::kNumber:
      WriteNumber(v.number, out);
      break;
    case JsonType::kString:
      WriteString(v.text, out);
      break;
    case JsonType::kArray:
      out += '[';
      for (size_t i = 0; i < v.items.size(); ++i) {
        if (i) out += ',';
        Write(v.items[i], out);
      }
      out += ']';
      break;
    case JsonType::kObject:
      out += '{';
      for (size_t i = 0; i < v.items.size(); ++i) {
        if (i) out += ',';
        WriteString(v.keys[i], out);
        out += ':';
        Write(v.items[i], out);
      }
      out += '}';
      break;
  }
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

bool ParseJson(const Text& text, JsonValue& out) {
  out = JsonValue();
  JsonValue value;
  if (!Reader(text).Document(value)) return false;
  out = std::move(value);
  return true;
}

Text WriteJson(const JsonValue& value) {
  Text out;
  Write(value, out);
  return out;
}

int JsonDepth(const JsonValue& value) {
  if (value.type != JsonType::kArray && value.type != JsonType::kObject) return 0;
  int deepest = 0;
  for (const JsonValue& item : value.items) deepest = std::max(deepest, JsonDepth(item));
  return deepest + 1;
}

Text NumberText(double number) {
  return Formatted("%.*g", 13, number);
}

bool NumberFromText(const Text& text, double& out) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  size_t i = begin;
  if (i < end && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  for (; i < end && IsDigit(text[i]); ++i) ++digits;
  if (i < end && text[i] == '.') {
    for (++i; i < end && IsDigit(text[i]); ++i) ++digits;
  }
  if (digits == 0) return false;
  if (i < end && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < end && (text[i] == '+' || text[i] == '-')) ++i;
    if (i >= end || !IsDigit(text[i])) return false;
    while (i < end && IsDigit(text[i])) ++i;
  }
  if (i != end) return false;
  return NumberFromRun(text.data() + begin, text.data() + end, out);
}

}  // namespace setup
