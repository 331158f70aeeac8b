#include "net/json_document.h"

#include <cmath>
#include <utility>

#include "base/code_page.h"
#include "net/json_value.h"

namespace setup {

namespace {

struct Step {
  bool isIndex = false;
  int64_t index = 0;
  Text name;
};
using Path = std::vector<Step>;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Reads a path into its steps; false when it is not well formed. An empty
// path gives no steps. Names are scanned a whole character at a time, since a
// trail byte of code page 936 may be '[' or ']'.
bool ParsePath(const Text& text, Path& out) {
  out.clear();
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    Step step;
    if (text[i] == '[') {
      ++i;
      if (i < n && (text[i] == '"' || text[i] == '\'')) {
        const char quote = text[i++];
        const size_t start = i;
        while (i < n && text[i] != quote) i += CharWidthAt(text, i) == 2 ? 2 : 1;
        if (i >= n) return false;
        step.name.assign(text, start, i - start);
        ++i;
      } else {
        const size_t start = i;
        for (; i < n && IsDigit(text[i]); ++i) step.index = step.index * 10 + (text[i] - '0');
        if (i == start || i - start > 9) return false;  // indices stay within int32
        step.isIndex = true;
      }
      if (i >= n || text[i] != ']') return false;
      ++i;
    } else {
      if (!out.empty()) {
        if (text[i] != '.') return false;
        ++i;
      }
      const size_t start = i;
      while (i < n && text[i] != '.' && text[i] != '[' && text[i] != ']') {
        i += CharWidthAt(text, i) == 2 ? 2 : 1;
      }
      if (i == start) return false;
      step.name.assign(text, start, i - start);
    }
    out.push_back(std::move(step));
  }
  return true;
}

Step IndexStep(int64_t index) {
  Step step;
  step.isIndex = true;
  step.index = index;
  return step;
}

// The member or item that `step` names in `holder`, or nullptr. An index on an
// object names the member of that decimal name, as in script member notation.
template <typename V>
V* Child(V& holder, const Step& step) {
  if (holder.type == JsonType::kObject) {
    const Text key = step.isIndex ? DecimalText(step.index) : step.name;
    for (size_t i = 0; i < holder.keys.size(); ++i) {
      if (holder.keys[i] == key) return &holder.items[i];
    }
    return nullptr;
  }
  if (holder.type == JsonType::kArray && step.isIndex && step.index >= 0 &&
      static_cast<uint64_t>(step.index) < holder.items.size()) {
    return &holder.items[step.index];
  }
  return nullptr;
}

// Follows the first `count` steps from `root`. A missing value gives nullptr;
// a step out of a missing or null value sets `broken` too, which is what tells
// a missing member from a path through one.
template <typename V>
V* Walk(V& root, const Path& path, size_t count, bool& broken) {
  broken = false;
  V* at = &root;
  for (size_t i = 0; i < count; ++i) {
    if (!at || at->type == JsonType::kNull) {
      broken = true;
      return nullptr;
    }
    at = Child(*at, path[i]);
  }
  return at;
}

struct Target {
  const JsonValue* value;  // nullptr when missing
  bool broken;
};

Target Locate(const JsonValue& root, const Path& path) {
  Target t{nullptr, false};
  t.value = Walk(root, path, path.size(), t.broken);
  return t;
}

Target Locate(const JsonValue& root, const Text& path, bool emptyIsRoot) {
  Path steps;
  if (!ParsePath(path, steps) || (steps.empty() && !emptyIsRoot)) return {nullptr, true};
  return Locate(root, steps);
}

Target LocateItem(const JsonValue& root, const Text& path, int32_t index) {
  Path steps;
  if (!ParsePath(path, steps)) return {nullptr, true};
  steps.push_back(IndexStep(index));
  return Locate(root, steps);
}

// Puts `value` where `path` points (no steps: the root). The holder of the
// target must be an object, or an array that the target indexes at most one
// past its end. Refused when the tree would nest deeper than the reader allows.
bool Assign(JsonValue& root, const Path& path, JsonValue value) {
  if (static_cast<int64_t>(path.size()) + JsonDepth(value) > kMaxJsonDepth) return false;
  if (path.empty()) {
    root = std::move(value);
    return true;
  }
  bool broken = false;
  JsonValue* holder = Walk(root, path, path.size() - 1, broken);
  if (!holder) return false;
  const Step& last = path.back();
  if (holder->type == JsonType::kObject) {
    if (JsonValue* member = Child(*holder, last)) {
      *member = std::move(value);
    } else {
      holder->keys.push_back(last.isIndex ? DecimalText(last.index) : last.name);
      holder->items.push_back(std::move(value));
    }
    return true;
  }
  if (holder->type == JsonType::kArray && last.isIndex && last.index >= 0 &&
      static_cast<uint64_t>(last.index) <= holder->items.size()) {
    if (static_cast<uint64_t>(last.index) == holder->items.size()) {
      holder->items.push_back(std::move(value));
    } else {
      holder->items[last.index] = std::move(value);
    }
    return true;
  }
  return false;
}

// A value given as text: the string itself, or with `json` the value its JSON
// text spells (null included); false when it spells none.
bool ValueFrom(const Text& text, bool json, JsonValue& out) {
  if (json) return ParseJson(text, out);
  out = JsonValue::String(text);
  return true;
}

bool ParseMemberPath(const Text& path, Path& steps) {
  return ParsePath(path, steps) && !steps.empty();
}

double NumberOf(const JsonValue* v) {
  if (!v) return 0;
  switch (v->type) {
    case JsonType::kNumber:
      return v->number;
    case JsonType::kString: {
      double number = 0;
      return NumberFromText(v->text, number) ? number : 0;
    }
    case JsonType::kBool:
      return v->flag ? 1 : 0;
    default:
      return 0;
  }
}

Text TextOf(const JsonValue* v, bool asJson) {
  if (!v) return Text();
  if (asJson) return WriteJson(*v);
  switch (v->type) {
    case JsonType::kNull:
      return Text();
    case JsonType::kBool:
      return v->flag ? "true" : "false";
    case JsonType::kNumber:
      return NumberText(v->number);
    case JsonType::kString:
      return v->text.c_str();  // a text ends at its first zero byte
    default:
      return WriteJson(*v);
  }
}

}  // namespace

JsonDocument::JsonDocument() : value_(std::make_shared<JsonValue>(JsonValue::Object())) {}

JsonDocument::JsonDocument(std::shared_ptr<JsonValue> value) : value_(std::move(value)) {}

JsonDocument::~JsonDocument() = default;

std::unique_ptr<JsonDocument> JsonDocument::Clone() const {
  return std::unique_ptr<JsonDocument>(new JsonDocument(value_));
}

void JsonDocument::Init() {
  value_ = std::make_shared<JsonValue>(JsonValue::Object());
}

bool JsonDocument::Parse(const Text& text) {
  auto fresh = std::make_shared<JsonValue>();
  const bool read = ParseJson(text, *fresh);
  value_ = std::move(fresh);
  return read && value_->type != JsonType::kNull;
}

Text JsonDocument::ToJson() const {
  return WriteJson(*value_);
}

bool JsonDocument::SetText(const Text& path, const Text& value, bool asJson) {
  Path steps;
  JsonValue v;
  return ParseMemberPath(path, steps) &&
         ValueFrom(asJson && value.empty() ? Text("{}") : value, asJson, v) &&
         Assign(*value_, steps, std::move(v));
}

bool JsonDocument::SetJson(const Text& path, const Text& json) {
  Path steps;
  JsonValue v;
  return ParseMemberPath(path, steps) && ParseJson(json, v) && Assign(*value_, steps, std::move(v));
}

bool JsonDocument::SetNumber(const Text& path, double value) {
  Path steps;
  double stored = 0;
  return std::isfinite(value) && ParseMemberPath(path, steps) &&
         NumberFromText(NumberText(value), stored) &&
         Assign(*value_, steps, JsonValue::Number(stored));
}

double JsonDocument::GetNumber(const Text& path) const {
  return NumberOf(Locate(*value_, path, false).value);
}

Text JsonDocument::GetJson(const Text& path) const {
  return TextOf(Locate(*value_, path, false).value, true);
}

Text JsonDocument::GetText(const Text& path, bool asJson) const {
  return TextOf(Locate(*value_, path, false).value, asJson);
}

std::unique_ptr<JsonDocument> JsonDocument::GetObject(const Text& path) const {
  const JsonValue* v = Locate(*value_, path, false).value;
  return std::unique_ptr<JsonDocument>(
      new JsonDocument(std::make_shared<JsonValue>(v ? *v : JsonValue())));
}

int32_t JsonDocument::GetCount(const Text& path) const {
  const JsonValue* v = Locate(*value_, path, true).value;
  if (!v || (v->type != JsonType::kArray && v->type != JsonType::kObject)) return 0;
  return static_cast<int32_t>(v->items.size());
}

bool JsonDocument::AppendItem(const Text& value, const Text& path, bool raw) {
  Path steps;
  JsonValue item;
  if (!ParsePath(path, steps) || !ValueFrom(value, raw, item)) return false;
  bool broken = false;
  JsonValue* target = Walk(*value_, steps, steps.size(), broken);
  if (target && target->type == JsonType::kArray) {
    if (static_cast<int64_t>(steps.size()) + 1 + JsonDepth(item) > kMaxJsonDepth) return false;
    target->items.push_back(std::move(item));
    return true;
  }
  JsonValue array = JsonValue::Array();
  array.items.push_back(std::move(item));
  return Assign(*value_, steps, std::move(array));
}

std::unique_ptr<JsonDocument> JsonDocument::GetItemObject(int32_t index, const Text& path) const {
  const JsonValue* v = LocateItem(*value_, path, index).value;
  return std::unique_ptr<JsonDocument>(
      new JsonDocument(std::make_shared<JsonValue>(v ? *v : JsonValue())));
}

Text JsonDocument::GetItemText(int32_t index, const Text& path, bool asJson) const {
  return TextOf(LocateItem(*value_, path, index).value, asJson);
}

bool JsonDocument::SetItem(int32_t index, const Text& value, bool raw) {
  JsonValue v;
  return ValueFrom(value, raw, v) && Assign(*value_, Path{IndexStep(index)}, std::move(v));
}

bool JsonDocument::RemoveItem(int32_t index) {
  if (value_->type != JsonType::kArray) return false;
  const int64_t size = static_cast<int64_t>(value_->items.size());
  int64_t at = index;
  if (at < 0) at = at + size < 0 ? 0 : at + size;  // as a script's splice counts
  if (at >= size) return false;
  value_->items.erase(value_->items.begin() + at);
  return true;
}

bool JsonDocument::RemoveMember(const Text& path) {
  Path steps;
  if (!ParseMemberPath(path, steps)) return false;
  bool broken = false;
  JsonValue* holder = Walk(*value_, steps, steps.size() - 1, broken);
  if (!holder) return false;
  JsonValue* member = Child(*holder, steps.back());
  if (!member) return false;
  if (holder->type == JsonType::kArray) {
    *member = JsonValue();
    return true;
  }
  const size_t at = member - holder->items.data();
  holder->keys.erase(holder->keys.begin() + at);
  holder->items.erase(holder->items.begin() + at);
  return true;
}

bool JsonDocument::Reset(JsonKind kind) {
  if (kind == kJsonNull || kind == kJsonObject) {
    *value_ = JsonValue::Object();
  } else if (kind == kJsonArray) {
    *value_ = JsonValue::Array();
  } else {
    return false;
  }
  return true;
}

bool JsonDocument::SetRoot(const Text& value, bool raw) {
  JsonValue v;
  return ValueFrom(value, raw, v) && Assign(*value_, Path(), std::move(v));
}

bool JsonDocument::Has(const Text& path) const {
  const JsonValue* v = Locate(*value_, path, false).value;
  return v && v->type != JsonType::kNull;
}

int32_t JsonDocument::ListMembers(std::vector<Text>& members, const Text& path) const {
  members.clear();
  const JsonValue* v = Locate(*value_, path, true).value;
  if (!v) return 0;
  if (v->type == JsonType::kObject) {
    members = v->keys;
  } else if (v->type == JsonType::kArray) {
    for (size_t i = 0; i < v->items.size(); ++i) members.push_back(DecimalText(i));
  }
  return static_cast<int32_t>(members.size());
}

JsonKind JsonDocument::GetType(const Text& path) const {
  const Target t = Locate(*value_, path, true);
  if (t.broken) return kJsonOther;
  if (!t.value) return kJsonNull;
  switch (t.value->type) {
    case JsonType::kNull:
      return kJsonNull;
    case JsonType::kNumber:
      return kJsonNumber;
    case JsonType::kString:
      return kJsonString;
    case JsonType::kObject:
      return kJsonObject;
    case JsonType::kArray:
      return kJsonArray;
    default:
      return kJsonOther;
  }
}

bool JsonDocument::Clear() {
  *value_ = JsonValue::Object();
  return true;
}

}  // namespace setup
