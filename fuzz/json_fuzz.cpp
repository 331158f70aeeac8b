// The JSON document on any text: the input is a JSON text, optionally followed
// by paths, each after a zero byte (which no JSON text holds). Parsing, reads by
// those paths and by the member names found, and writes never crash; what the
// document writes reads back to the same text, and reads agree with each other.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "net/json_document.h"

namespace {

using setup::JsonDocument;
using setup::Text;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// A document's JSON text must read back to a document that writes it the same.
void CheckRoundTrip(const JsonDocument& doc) {
  const Text json = doc.ToJson();
  JsonDocument again;
  if (again.Parse(json)) {
    Check(again.ToJson() == json);
  } else {
    Check(json == "null");  // only a null value writes a text that does not parse
  }
}

void ReadAt(const JsonDocument& doc, const Text& path) {
  const setup::JsonKind kind = doc.GetType(path);
  const Text text = doc.GetText(path);
  const Text json = doc.GetText(path, true);
  doc.GetNumber(path);
  if (kind == setup::kJsonNull) Check(text.empty() && !doc.Has(path));
  std::vector<Text> members;
  Check(doc.ListMembers(members, path) == doc.GetCount(path));
  Check(members.size() == static_cast<size_t>(doc.GetCount(path)));
  if (!path.empty()) {
    Check(doc.GetJson(path) == json);
    const std::unique_ptr<JsonDocument> copy = doc.GetObject(path);
    Check(json.empty() ? copy->ToJson() == "null" : copy->ToJson() == json);
  }
  doc.GetItemText(0, path);
  doc.GetItemObject(1, path)->ToJson();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Text input(reinterpret_cast<const char*>(data), size);
  std::vector<Text> pieces;
  for (size_t start = 0;;) {
    const size_t end = input.find('\0', start);
    pieces.push_back(input.substr(start, end == Text::npos ? Text::npos : end - start));
    if (end == Text::npos) break;
    start = end + 1;
  }

  JsonDocument doc;
  const bool parsed = doc.Parse(pieces[0]);
  Check(parsed == (doc.GetType() != setup::kJsonNull));
  CheckRoundTrip(doc);

  // Paths from the input, then from the member names the document holds.
  std::vector<Text> paths(pieces.begin() + 1, pieces.end());
  paths.push_back(Text());
  std::vector<Text> names;
  doc.ListMembers(names);
  for (size_t i = 0; i < names.size() && i < 16; ++i) {
    const Text top = doc.GetType() == setup::kJsonArray ? "[" + names[i] + "]" : names[i];
    paths.push_back(top);
    paths.push_back("[\"" + names[i] + "\"]");
    std::vector<Text> inner;
    doc.ListMembers(inner, top);
    for (size_t j = 0; j < inner.size() && j < 8; ++j) {
      paths.push_back(top + "." + inner[j]);
      paths.push_back(top + "[" + inner[j] + "]");
    }
  }
  for (size_t i = 0; i < paths.size() && i < 128; ++i) ReadAt(doc, paths[i]);

  // Writes through a clone, with the input's own texts as values.
  const std::unique_ptr<JsonDocument> clone = doc.Clone();
  for (size_t i = 1; i < pieces.size() && i < 8; ++i) {
    clone->SetJson(pieces[i], pieces[0]);
    clone->SetText(pieces[i], pieces[0]);
    clone->AppendItem(pieces[0], pieces[i], true);
    clone->RemoveMember(pieces[i]);
  }
  clone->SetItem(0, pieces[0], true);
  clone->AppendItem(pieces[0], Text(), true);
  CheckRoundTrip(doc);
  return 0;
}
