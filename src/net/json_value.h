// A JSON value held as a tree of our own, with the reader and writer of its
// text. Strings are texts of code page 936: bytes of the reply pass through as
// they are and \u escapes are converted to the code page.
#pragma once

#include <cstdint>
#include <vector>

#include "base/text.h"

namespace setup {

enum class JsonType { kNull, kBool, kNumber, kString, kArray, kObject };

// Containers nest at most this deep (an array or object at the top counts one),
// so every walk over a tree stays within a bounded stack.
constexpr int kMaxJsonDepth = 512;

struct JsonValue {
  JsonType type = JsonType::kNull;
  bool flag = false;             // kBool
  double number = 0;             // kNumber, always finite
  Text text;                     // kString
  std::vector<Text> keys;        // kObject: member names, in order, parallel to items
  std::vector<JsonValue> items;  // kArray items, or kObject member values

  static JsonValue Object() { return Of(JsonType::kObject); }
  static JsonValue Array() { return Of(JsonType::kArray); }
  static JsonValue String(const Text& text);
  static JsonValue Number(double number);

 private:
  static JsonValue Of(JsonType type);
};

// Reads a whole JSON text (surrounding blanks allowed). False for anything that
// is not exactly one JSON value, nests deeper than kMaxJsonDepth, or holds a byte
// that is no character of the code page; `out` is then null. Numbers beyond the
// range of a double become the largest double of their sign, tiny ones zero.
bool ParseJson(const Text& text, JsonValue& out);

// Compact JSON text, as a script engine's JSON.stringify writes it: no blanks,
// numbers in their shortest exact form ("1e+21", "0.1"), "-0" as "0".
Text WriteJson(const JsonValue& value);

// How deep `value` nests containers: 0 for a scalar, 1 for a flat array.
int JsonDepth(const JsonValue& value);

// A number as C's "%.13g" writes it with C99's exponent of at least two digits
// ("2.5e+20"), identical on every platform.
Text NumberText(double number);

// The number a whole text spells, blanks around it allowed ("1", " -2.5 ",
// "1e3"); false when it spells none. Out-of-range values clamp as in ParseJson.
bool NumberFromText(const Text& text, double& out);

}  // namespace setup
