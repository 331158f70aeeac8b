// A JSON value with read and write access to its members by path, used to
// decode the app-info reply. The value is a tree of our own: nothing of the
// server's text is ever executed.
//
// Paths are written in script member notation relative to the root value:
// "data", "data.name", "list[2].id", and "[1]" for an item of a root array;
// a member whose name holds "." or "[" is reached as ["a.b"] or ['a.b']. An
// index on an object reads the member of that decimal name. A path that is not
// well formed reads like a path through a missing member. Operations whose
// path has no default address a member and take an empty path as not well
// formed; those with a default take it as the root.
//
// Reads never fail loudly: a missing member reads as an empty text, 0 or false.
// Writes return whether they changed the document; a refused write (a missing
// or null parent, text that is not JSON, nesting past kMaxJsonDepth) leaves it
// as it was.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/text.h"

// windows.h maps GetObject to GDI's GetObjectA; the document keeps its own
// operation's name, so code that includes both calls GDI's by its full name.
#ifdef GetObject
#undef GetObject
#endif

namespace setup {

struct JsonValue;

// Kinds as GetType gives them and Reset takes them; 1 and 3 are never given.
enum JsonKind : int32_t {
  kJsonOther = -1,  // true, false, or a path through a missing or null member
  kJsonNull = 0,    // null, or a missing member
  kJsonNumber = 2,
  kJsonObject = 4,
  kJsonArray = 5,
  kJsonString = 6,
};

class JsonDocument {
 public:
  // The document starts as an empty object.
  JsonDocument();
  JsonDocument(const JsonDocument&) = delete;
  JsonDocument& operator=(const JsonDocument&) = delete;

  // The operations in the order of the class's table.
  virtual ~JsonDocument();
  // A second document on the same value: a write through either is seen by
  // both, until one of them parses or initialises (which gives it a fresh value).
  virtual std::unique_ptr<JsonDocument> Clone() const;
  // A fresh value holding an empty object; clones keep the old value.
  virtual void Init();
  // A fresh value read from `text`, which must be exactly one JSON value with
  // optional blanks around it. True when it is one and is not null; otherwise
  // the value is null ("null", an empty text, an HTML page all give false).
  virtual bool Parse(const Text& text);
  // The compact JSON text of the whole value ("null" after a failed Parse).
  virtual Text ToJson() const;
  // Sets the member to `value` as a string, or with `asJson` to the value the
  // JSON text spells ("{}" when empty).
  virtual bool SetText(const Text& path, const Text& value, bool asJson = false);
  virtual bool SetJson(const Text& path, const Text& json);
  // Stores the number as written with 13 significant digits, as NumberText
  // writes it; infinities and NaN are refused.
  virtual bool SetNumber(const Text& path, double value);
  // A number member's value; a string member's value when the whole text spells
  // a number ("1" gives 1), else 0; true 1, false 0; anything else 0.
  virtual double GetNumber(const Text& path) const;
  // The compact JSON text of the member; empty when missing.
  virtual Text GetJson(const Text& path) const;
  // A string member's text (up to a zero character), a number as NumberText
  // writes it ("2.5e+20"), "true" or "false", an object or array as its JSON
  // text, and empty for null or missing. With `asJson` the member's JSON text.
  virtual Text GetText(const Text& path, bool asJson = false) const;
  // An independent copy of the member; a missing member gives a null document,
  // on which every read is empty.
  virtual std::unique_ptr<JsonDocument> GetObject(const Text& path) const;
  // Members of an object or items of an array at `path` (empty: the root);
  // 0 for anything else.
  virtual int32_t GetCount(const Text& path = Text()) const;
  // Appends `value` (a string, or with `raw` the value its JSON text spells) to
  // the array at `path` (empty: the root); a member that holds no array is
  // replaced by an empty one first.
  virtual bool AppendItem(const Text& value, const Text& path = Text(), bool raw = false);
  virtual std::unique_ptr<JsonDocument> GetItemObject(int32_t index,
                                                      const Text& path = Text()) const;
  // Item `index` of the array at `path`, read as GetText reads members.
  virtual Text GetItemText(int32_t index, const Text& path = Text(), bool asJson = false) const;
  // Sets item `index` of a root array (one past the end appends), or the
  // member of that decimal name of a root object.
  virtual bool SetItem(int32_t index, const Text& value, bool raw = false);
  // Removes item `index` of a root array; a negative index counts from the end.
  virtual bool RemoveItem(int32_t index);
  // Removes an object's member; an array item becomes null, so that the items
  // after it keep their indices.
  virtual bool RemoveMember(const Text& path);
  // The root becomes an empty object (kinds 0 and 4) or an empty array (5);
  // other kinds change nothing. Clones see the change.
  virtual bool Reset(JsonKind kind);
  // The root becomes the string `value`, or with `raw` the value its JSON text spells.
  virtual bool SetRoot(const Text& value, bool raw = false);
  // Whether the member exists and is not null.
  virtual bool Has(const Text& path) const;
  // Replaces `members` with the member names of the object at `path` (empty:
  // the root) in their order, or the indices "0", "1"... of an array; returns
  // their number. Anything else gives an empty list.
  virtual int32_t ListMembers(std::vector<Text>& members, const Text& path = Text()) const;
  virtual JsonKind GetType(const Text& path = Text()) const;
  // The root becomes an empty object; clones see the change.
  virtual bool Clear();

 private:
  explicit JsonDocument(std::shared_ptr<JsonValue> value);

  std::shared_ptr<JsonValue> value_;  // never empty
};

}  // namespace setup
