#include "net/json_document.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <memory>

#include "net/json_value.h"

namespace setup {
namespace {

std::unique_ptr<JsonDocument> Parsed(const Text& json) {
  auto doc = std::make_unique<JsonDocument>();
  EXPECT_TRUE(doc->Parse(json)) << json;
  return doc;
}

Text Nested(int depth) {
  return Text(depth, '[') + Text(depth, ']');
}

TEST(JsonDocument, StartsAsAnEmptyObject) {
  JsonDocument doc;
  EXPECT_EQ(doc.ToJson(), "{}");
  EXPECT_EQ(doc.GetType(), kJsonObject);
  EXPECT_EQ(doc.GetCount(), 0);
}

TEST(JsonDocumentParse, AcceptsExactlyJson) {
  struct Case {
    Text text;
    bool want;
  } cases[] = {
      {"{}", true},
      {" \t\r\n{\"a\":[1,-2.5e-3,true,false,null,\"s\"]} \n", true},
      {"[]", true},
      {"\"x\"", true},
      {"0", true},
      {"-0", true},
      {"false", true},  // a value that is not null
      {"{\"a\":1,\"a\":2}", true},
      {"", false},
      {"  ", false},
      {"null", false},
      {" null ", false},
      {"<html><body>502 Bad Gateway</body></html>", false},
      {"{", false},
      {"{\"a\":1", false},
      {"[1,2", false},
      {"\"abc", false},
      {"{\"a\":1,}", false},
      {"[1,]", false},
      {"[,1]", false},
      {"{'a':1}", false},
      {"{a:1}", false},
      {"{\"a\"}", false},
      {"{\"a\" 1}", false},
      {"[1 2]", false},
      {"{} {}", false},
      {"{}x", false},
      {Text("[1]\0", 4), false},
      {"\xEF\xBB\xBF{}", false},  // a byte-order mark is no JSON
      {"01", false},
      {"1.", false},
      {".5", false},
      {"+1", false},
      {"-", false},
      {"1e", false},
      {"1e+", false},
      {"0x10", false},
      {"NaN", false},
      {"Infinity", false},
      {"tru", false},
      {"nul", false},
      {"True", false},
      {"\"a\x01\"", false},  // control characters must be escaped
      {"\"tab\there\"", false},
      {"\"\\x\"", false},    // no such escape
      {"\"\\u12\"", false},  // short \u escape
      {"\"\\u12g4\"", false},
      {"\"\\", false},
      {"\"\xFF\"", false},      // 0xFF is no character of code page 936
      {"\"\x81\"", false},      // a lead byte whose trail byte is the closing quote
      {"\"\x81\x7F\"", false},  // 0x7F is no trail byte
  };
  for (const Case& c : cases) {
    JsonDocument doc;
    EXPECT_EQ(doc.Parse(c.text), c.want) << c.text;
    if (!c.want) {
      EXPECT_EQ(doc.GetNumber("a"), 0) << c.text;
      EXPECT_EQ(doc.GetText("a"), "") << c.text;
      EXPECT_EQ(doc.GetType(), kJsonNull) << c.text;
      EXPECT_EQ(doc.GetCount(), 0) << c.text;
      EXPECT_EQ(doc.ToJson(), "null") << c.text;
    }
  }
}

TEST(JsonDocumentParse, RefusesEveryTruncationOfAReply) {
  const Text reply =
      "{\"code\":1,\"data\":{\"name\":\"\xD6\xD0\\u6587\",\"n\":-12.5e-1,\"l\":[true,null],"
      "\"e\":\"\\\"\\\\\"}}";
  ASSERT_TRUE(JsonDocument().Parse(reply));
  for (size_t n = 0; n < reply.size(); ++n) {
    EXPECT_FALSE(JsonDocument().Parse(reply.substr(0, n))) << n;
  }
}

TEST(JsonDocumentParse, ReadsTheAppInfoReplyAndReparsesANestedMember) {
  JsonDocument doc;
  ASSERT_TRUE(doc.Parse("{ \"code\" : 1, \"data\" : { \"name\" : \"x\" } }"));
  EXPECT_EQ(doc.GetNumber("code"), 1);
  EXPECT_EQ(doc.GetText("data.name"), "x");
  EXPECT_EQ(doc.GetJson("data"), "{\"name\":\"x\"}");
  ASSERT_TRUE(doc.Parse(doc.GetJson("data")));
  EXPECT_EQ(doc.GetText("name"), "x");
  EXPECT_EQ(doc.GetNumber("code"), 0);
}

TEST(JsonDocumentParse, LimitsNesting) {
  JsonDocument doc;
  EXPECT_TRUE(doc.Parse(Nested(kMaxJsonDepth)));
  EXPECT_EQ(doc.ToJson(), Nested(kMaxJsonDepth));
  EXPECT_FALSE(doc.Parse(Nested(kMaxJsonDepth + 1)));
  EXPECT_FALSE(doc.Parse(Text(200000, '[')));
  Text objects;
  for (int i = 0; i <= kMaxJsonDepth; ++i) objects += "{\"a\":";
  EXPECT_FALSE(doc.Parse(objects + "1" + Text(kMaxJsonDepth + 1, '}')));
  EXPECT_TRUE(doc.Parse(objects.substr(5) + "1" + Text(kMaxJsonDepth, '}')));
}

TEST(JsonDocumentNumbers, ReadAsTextNumberAndJson) {
  struct Case {
    Text literal, text;
    double number;
    Text json;
  } cases[] = {
      {"3", "3", 3, "3"},
      {"1.5", "1.5", 1.5, "1.5"},
      {"2.5e20", "2.5e+20", 2.5e20, "250000000000000000000"},
      {"1E21", "1e+21", 1e21, "1e+21"},
      {"-0", "-0", 0, "0"},
      {"0.1", "0.1", 0.1, "0.1"},
      {"100e-2", "1", 1, "1"},
      {"0.000001", "1e-06", 1e-6, "0.000001"},
      {"1e-7", "1e-07", 1e-7, "1e-7"},
      {"-1.25e-300", "-1.25e-300", -1.25e-300, "-1.25e-300"},
      {"123456789012345678", "1.234567890123e+17", 123456789012345678.0, "123456789012345680"},
      // Beyond the range of a double: the largest double of the sign, or zero.
      {"1e400", "1.797693134862e+308", DBL_MAX, "1.7976931348623157e+308"},
      {"-1e400", "-1.797693134862e+308", -DBL_MAX, "-1.7976931348623157e+308"},
      {"0.00001e400", "1.797693134862e+308", DBL_MAX, "1.7976931348623157e+308"},
      {"1e-400", "0", 0, "0"},
      {"12345678901234567890e-400", "0", 0, "0"},
      {"0.000e99999999999999999999", "0", 0, "0"},
  };
  for (const Case& c : cases) {
    auto doc = Parsed("{\"n\":" + c.literal + "}");
    EXPECT_EQ(doc->GetText("n"), c.text) << c.literal;
    EXPECT_EQ(doc->GetNumber("n"), c.number) << c.literal;
    EXPECT_EQ(doc->GetJson("n"), c.json) << c.literal;
    EXPECT_EQ(doc->GetType("n"), kJsonNumber) << c.literal;
  }
  EXPECT_TRUE(std::signbit(Parsed("[-0]")->GetNumber("[0]")));
}

TEST(JsonDocumentNumbers, MembersOfOtherKindsReadAsNumbers) {
  struct Case {
    Text member;
    double want;
  } cases[] = {
      {"\"1\"", 1},
      {"\" -2.5 \"", -2.5},
      {"\"1e3\"", 1000},
      {"\"+4\"", 4},
      {"\".5\"", 0.5},
      {"\"7.\"", 7},
      {"\"abc\"", 0},
      {"\"12abc\"", 0},
      {"\"\"", 0},
      {"\"1e\"", 0},
      {"\"-\"", 0},
      {"\"0x10\"", 0},
      {"\"1e999\"", DBL_MAX},
      {"true", 1},
      {"false", 0},
      {"null", 0},
      {"{}", 0},
      {"[7]", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Parsed("{\"m\":" + c.member + "}")->GetNumber("m"), c.want) << c.member;
  }
  EXPECT_EQ(Parsed("{}")->GetNumber("missing"), 0);
}

TEST(JsonDocumentRead, GivesEachKindAsTextAndJson) {
  auto doc =
      Parsed("{\"s\":\"x\",\"n\":null,\"t\":true,\"f\":false,\"o\":{\"a\":[1,\"b\"]},\"e\":\"\"}");
  struct Case {
    Text path, text, json;
  } cases[] = {
      {"s", "x", "\"x\""},
      {"n", "", "null"},
      {"t", "true", "true"},
      {"f", "false", "false"},
      {"o", "{\"a\":[1,\"b\"]}", "{\"a\":[1,\"b\"]}"},
      {"o.a", "[1,\"b\"]", "[1,\"b\"]"},
      {"e", "", "\"\""},
      {"missing", "", ""},
      {"missing.x", "", ""},
      {"", "", ""},  // a member operation needs a member
  };
  for (const Case& c : cases) {
    EXPECT_EQ(doc->GetText(c.path), c.text) << c.path;
    EXPECT_EQ(doc->GetText(c.path, true), c.json) << c.path;
    EXPECT_EQ(doc->GetJson(c.path), c.json) << c.path;
  }
}

TEST(JsonDocumentRead, DecodesEscapesIntoCodePage936) {
  struct Case {
    Text literal, text;
  } cases[] = {
      {"\\\"\\\\\\/\\b\\f\\n\\r\\t", "\"\\/\b\f\n\r\t"},
      {"\\u0041\\u007a", "Az"},
      {"\\u4e2d\\u6587", "\xD6\xD0\xCE\xC4"},
      {"\\u4E2D", "\xD6\xD0"},
      {"\\ud83d\\ude00!", "?!"},  // a pair whose character code page 936 lacks
      {"\\ud800x", "?x"},         // lone surrogates
      {"\\udc00", "?"},
      {"\\ud800\\u0041", "?A"},
      {"a\\u0000b", "a"},  // a text ends at its first zero byte
      // Bytes of the reply pass through; a double-byte character is taken
      // whole, even when its trail byte is a backslash.
      {"\xD6\xD0\xCE\xC4", "\xD6\xD0\xCE\xC4"},
      {"\x81\x5C", "\x81\x5C"},
      {"\x80", "\x80"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Parsed("{\"s\":\"" + c.literal + "\"}")->GetText("s"), c.text) << c.literal;
  }
}

TEST(JsonDocumentRead, WritesStringsBackAsJsonThatReadsTheSame) {
  struct Case {
    Text literal, json;
  } cases[] = {
      {"\\u0001\\u001f\x7f", "\"\\u0001\\u001f\x7f\""},
      {"\\\"\\\\\\/\\b\\f\\n\\r\\t", "\"\\\"\\\\/\\b\\f\\n\\r\\t\""},
      {"\x81\x5C\\\\", "\"\x81\x5C\\\\\""},
      {"a\\u0000b", "\"a\\u0000b\""},
      {"\\u4e2d", "\"\xD6\xD0\""},
  };
  for (const Case& c : cases) {
    auto doc = Parsed("[\"" + c.literal + "\"]");
    EXPECT_EQ(doc->GetJson("[0]"), c.json) << c.literal;
    EXPECT_EQ(Parsed(doc->ToJson())->ToJson(), doc->ToJson()) << c.literal;
  }
  // A byte that starts no character of the code page, set as a text, is not
  // written into JSON where it would swallow the closing quote.
  JsonDocument doc;
  ASSERT_TRUE(doc.SetText("a", "x\x81"));
  EXPECT_EQ(doc.ToJson(), "{\"a\":\"x?\"}");
}

TEST(JsonDocumentPath, AddressesMembersAndItems) {
  auto doc = Parsed(
      "{\"a\":{\"b\":[10,{\"c\":\"deep\"}]},\"list\":[1,2,3],\"2\":\"two\",\"k.x\":\"dot\","
      "\"\x81\x5B\":{\"\x81\x5D\":\"gbk\"}}");
  struct Case {
    Text path, text;
  } cases[] = {
      {"a.b[1].c", "deep"},
      {"a.b[0]", "10"},
      {"list[2]", "3"},
      {"list[01]", "2"},
      {"list[3]", ""},
      {"[2]", "two"},  // an index on an object names a member
      {"[\"k.x\"]", "dot"},
      {"['k.x']", "dot"},
      {"a[\"b\"][1]['c']", "deep"},
      {"\x81\x5B.\x81\x5D", "gbk"},  // trail bytes '[' and ']' are no brackets
      {"\x81\x5B[\"\x81\x5D\"]", "gbk"},
      {"k.x", ""},
      {"list.0", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(doc->GetText(c.path), c.text) << c.path;

  auto root = Parsed("[\"x\",\"y\"]");
  EXPECT_EQ(root->GetText("[1]"), "y");
  EXPECT_EQ(root->GetText("[0]"), "x");
  EXPECT_EQ(root->GetText("[2]"), "");
}

TEST(JsonDocumentPath, MalformedPathsReadAsThroughAMissingMember) {
  auto doc = Parsed("{\"a\":{\"b\":1},\"list\":[1]}");
  const Text paths[] = {
      "a.",  ".a",       "a..b",  "a[",      "a[x]",     "a[1",  "a]",
      "a[]", "list[0]b", "a.[0]", "[\"a.b]", "list[-1]", "a b[", "list[1234567890]"};
  for (const Text& p : paths) {
    EXPECT_EQ(doc->GetType(p), kJsonOther) << p;
    EXPECT_EQ(doc->GetText(p), "") << p;
    EXPECT_EQ(doc->GetNumber(p), 0) << p;
    EXPECT_FALSE(doc->Has(p)) << p;
    EXPECT_FALSE(doc->SetText(p, "v")) << p;
  }
  EXPECT_EQ(doc->ToJson(), "{\"a\":{\"b\":1},\"list\":[1]}");
  const Text longPath = "a" + [] {
    Text t;
    for (int i = 0; i < 20000; ++i) t += ".b";
    return t;
  }();
  EXPECT_EQ(doc->GetType(longPath), kJsonOther);
}

TEST(JsonDocumentRead, TellsKinds) {
  auto doc = Parsed("{\"n\":5,\"s\":\"x\",\"o\":{},\"a\":[],\"t\":true,\"f\":false,\"z\":null}");
  struct Case {
    Text path;
    JsonKind want;
  } cases[] = {
      {"", kJsonObject},         {"n", kJsonNumber},     {"s", kJsonString},
      {"o", kJsonObject},        {"a", kJsonArray},      {"t", kJsonOther},
      {"f", kJsonOther},         {"z", kJsonNull},       {"missing", kJsonNull},
      {"missing.x", kJsonOther}, {"z.x", kJsonOther},    {"n.x", kJsonNull},
      {"a[0]", kJsonNull},       {"a[0].x", kJsonOther}, {"[\"n\"]", kJsonNumber},
  };
  for (const Case& c : cases) EXPECT_EQ(doc->GetType(c.path), c.want) << c.path;
  EXPECT_EQ(Parsed("[1]")->GetType(), kJsonArray);
  EXPECT_EQ(Parsed("\"x\"")->GetType(), kJsonString);
}

TEST(JsonDocumentRead, CountsAndListsMembers) {
  auto doc = Parsed(
      "{\"arr\":[1,2,3],\"obj\":{\"a\":1,\"b\":2},\"s\":\"str\",\"e\":{},"
      "\"c\":{\"x,y\":1}}");
  struct Case {
    Text path;
    std::vector<Text> members;
  } cases[] = {
      {"arr", {"0", "1", "2"}},
      {"obj", {"a", "b"}},
      {"", {"arr", "obj", "s", "e", "c"}},
      {"e", {}},
      {"s", {}},
      {"missing", {}},
      {"missing.x", {}},
      {"c", {"x,y"}},
  };
  for (const Case& c : cases) {
    std::vector<Text> list = {"old"};
    EXPECT_EQ(doc->ListMembers(list, c.path), static_cast<int32_t>(c.members.size())) << c.path;
    EXPECT_EQ(list, c.members) << c.path;
    EXPECT_EQ(doc->GetCount(c.path), static_cast<int32_t>(c.members.size())) << c.path;
  }
}

TEST(JsonDocumentRead, ReadsItems) {
  auto doc = Parsed("{\"l\":[1.5,\"x\",null,{\"k\":[true]}],\"o\":{\"0\":\"zero\"}}");
  EXPECT_EQ(doc->GetItemText(0, "l"), "1.5");
  EXPECT_EQ(doc->GetItemText(1, "l"), "x");
  EXPECT_EQ(doc->GetItemText(1, "l", true), "\"x\"");
  EXPECT_EQ(doc->GetItemText(2, "l"), "");
  EXPECT_EQ(doc->GetItemText(4, "l"), "");
  EXPECT_EQ(doc->GetItemText(-1, "l"), "");
  EXPECT_EQ(doc->GetItemText(0, "o"), "zero");
  EXPECT_EQ(doc->GetItemText(0), "");
  EXPECT_EQ(doc->GetItemObject(3, "l")->ToJson(), "{\"k\":[true]}");
  EXPECT_EQ(doc->GetItemObject(9, "l")->GetType(), kJsonNull);
  EXPECT_EQ(Parsed("[\"a\",\"b\"]")->GetItemText(1), "b");
}

TEST(JsonDocumentObject, IsAnIndependentCopyOfTheMember) {
  auto doc = Parsed("{\"agent_info\":{\"id\":41159},\"s\":\"x\"}");
  std::unique_ptr<JsonDocument> info = doc->GetObject("agent_info");
  EXPECT_EQ(info->GetText("id"), "41159");
  ASSERT_TRUE(info->SetText("id", "changed"));
  EXPECT_EQ(doc->GetText("agent_info.id"), "41159");
  ASSERT_TRUE(doc->SetText("agent_info.id", "again"));
  EXPECT_EQ(info->GetText("id"), "changed");

  EXPECT_EQ(doc->GetObject("s")->ToJson(), "\"x\"");
  for (const Text& path : {Text("missing"), Text("missing.x"), Text("")}) {
    std::unique_ptr<JsonDocument> none = doc->GetObject(path);
    EXPECT_EQ(none->GetType(), kJsonNull) << path;
    for (const Text& read : {Text("a"), Text("[0]"), Text("id")}) {
      EXPECT_EQ(none->GetText(read), "") << read;
      EXPECT_EQ(none->GetNumber(read), 0) << read;
      EXPECT_FALSE(none->Has(read)) << read;
    }
  }
}

TEST(JsonDocumentClone, SharesTheValueUntilOneParses) {
  JsonDocument doc;
  ASSERT_TRUE(doc.Parse("{\"a\":1}"));
  std::unique_ptr<JsonDocument> clone = doc.Clone();
  ASSERT_TRUE(clone->SetNumber("b", 2));
  EXPECT_EQ(doc.GetNumber("b"), 2);
  ASSERT_TRUE(doc.Reset(kJsonArray));
  EXPECT_EQ(clone->ToJson(), "[]");
  ASSERT_TRUE(doc.SetRoot("{\"a\":1,\"b\":2}", true));

  ASSERT_TRUE(doc.Parse("{\"c\":3}"));
  EXPECT_EQ(clone->GetNumber("b"), 2);
  EXPECT_EQ(clone->GetNumber("a"), 1);
  EXPECT_EQ(doc.GetNumber("b"), 0);
  ASSERT_TRUE(clone->SetNumber("d", 4));
  EXPECT_EQ(doc.ToJson(), "{\"c\":3}");

  std::unique_ptr<JsonDocument> second = clone->Clone();
  clone->Init();
  EXPECT_EQ(clone->ToJson(), "{}");
  EXPECT_EQ(second->ToJson(), "{\"a\":1,\"b\":2,\"d\":4}");
  EXPECT_FALSE(second->Parse("oops"));
  ASSERT_TRUE(clone->SetText("x", "y"));
  EXPECT_EQ(second->ToJson(), "null");
}

TEST(JsonDocumentWrite, ChangesTheValueOrLeavesItAsItWas) {
  using Op = std::function<bool(JsonDocument&)>;
  struct Case {
    const char* start;
    Op op;
    bool changed;
    const char* want;  // the document afterwards
  } cases[] = {
      {"{\"a\":{}}", [](JsonDocument& d) { return d.SetText("a.b", "x"); }, true,
       "{\"a\":{\"b\":\"x\"}}"},
      {"{}", [](JsonDocument& d) { return d.SetText("a", "it's \\ \"q\"\n"); }, true,
       "{\"a\":\"it's \\\\ \\\"q\\\"\\n\"}"},
      {"{}", [](JsonDocument& d) { return d.SetText("a", "[1, 2]", true); }, true, "{\"a\":[1,2]}"},
      {"{}", [](JsonDocument& d) { return d.SetText("a", "", true); }, true, "{\"a\":{}}"},
      {"{}", [](JsonDocument& d) { return d.SetText("a", "not json", true); }, false, "{}"},
      {"{}", [](JsonDocument& d) { return d.SetText("", "x"); }, false, "{}"},
      {"{\"a\":{}}", [](JsonDocument& d) { return d.SetText("a.b.c", "x"); }, false, "{\"a\":{}}"},
      {"{\"a\":null}", [](JsonDocument& d) { return d.SetText("a.b", "x"); }, false,
       "{\"a\":null}"},
      {"{\"n\":5}", [](JsonDocument& d) { return d.SetText("n.x", "y"); }, false, "{\"n\":5}"},
      {"{\"a\":1,\"b\":2}", [](JsonDocument& d) { return d.SetJson("a", "3"); }, true,
       "{\"a\":3,\"b\":2}"},
      {"{}", [](JsonDocument& d) { return d.SetJson("a", "null"); }, true, "{\"a\":null}"},
      {"{}", [](JsonDocument& d) { return d.SetJson("a", ""); }, false, "{}"},
      {"{\"o\":{}}", [](JsonDocument& d) { return d.SetJson("o[2]", "true"); }, true,
       "{\"o\":{\"2\":true}}"},
      {"{\"l\":[1]}", [](JsonDocument& d) { return d.SetText("l[0]", "x"); }, true,
       "{\"l\":[\"x\"]}"},
      {"{\"l\":[1]}", [](JsonDocument& d) { return d.SetText("l[1]", "x"); }, true,
       "{\"l\":[1,\"x\"]}"},
      {"{\"l\":[1]}", [](JsonDocument& d) { return d.SetText("l[3]", "x"); }, false, "{\"l\":[1]}"},
      {"{\"l\":[1]}", [](JsonDocument& d) { return d.SetText("l.x", "y"); }, false, "{\"l\":[1]}"},
      {"{}", [](JsonDocument& d) { return d.SetNumber("n", 0.1 + 0.2); }, true, "{\"n\":0.3}"},
      {"{}", [](JsonDocument& d) { return d.SetNumber("n", 1.0 / 3); }, true,
       "{\"n\":0.3333333333333}"},
      {"{}", [](JsonDocument& d) { return d.SetNumber("n", 2.5e20); }, true,
       "{\"n\":250000000000000000000}"},
      {"{}", [](JsonDocument& d) { return d.SetNumber("n", INFINITY); }, false, "{}"},
      {"{}", [](JsonDocument& d) { return d.SetNumber("n", NAN); }, false, "{}"},
      {"{}", [](JsonDocument& d) { return d.AppendItem("x", "l"); }, true, "{\"l\":[\"x\"]}"},
      {"{\"l\":5}", [](JsonDocument& d) { return d.AppendItem("{\"a\":1}", "l", true); }, true,
       "{\"l\":[{\"a\":1}]}"},
      {"{\"l\":[1]}", [](JsonDocument& d) { return d.AppendItem("2", "l", true); }, true,
       "{\"l\":[1,2]}"},
      {"{\"l\":[1]}", [](JsonDocument& d) { return d.AppendItem("[", "l", true); }, false,
       "{\"l\":[1]}"},
      {"{}", [](JsonDocument& d) { return d.AppendItem("x"); }, true, "[\"x\"]"},
      {"{}", [](JsonDocument& d) { return d.AppendItem("x", "m.l"); }, false, "{}"},
      {"[\"a\",\"b\"]", [](JsonDocument& d) { return d.SetItem(1, "B"); }, true, "[\"a\",\"B\"]"},
      {"[\"a\",\"b\"]", [](JsonDocument& d) { return d.SetItem(2, "c"); }, true,
       "[\"a\",\"b\",\"c\"]"},
      {"[\"a\",\"b\"]", [](JsonDocument& d) { return d.SetItem(0, "{\"k\":true}", true); }, true,
       "[{\"k\":true},\"b\"]"},
      {"[\"a\",\"b\"]", [](JsonDocument& d) { return d.SetItem(5, "c"); }, false, "[\"a\",\"b\"]"},
      {"[\"a\",\"b\"]", [](JsonDocument& d) { return d.SetItem(-1, "c"); }, false, "[\"a\",\"b\"]"},
      {"{}", [](JsonDocument& d) { return d.SetItem(3, "x"); }, true, "{\"3\":\"x\"}"},
      {"[1,2,3]", [](JsonDocument& d) { return d.RemoveItem(1); }, true, "[1,3]"},
      {"[1,2,3]", [](JsonDocument& d) { return d.RemoveItem(-1); }, true, "[1,2]"},
      {"[1,2,3]", [](JsonDocument& d) { return d.RemoveItem(-9); }, true, "[2,3]"},
      {"[1,2,3]", [](JsonDocument& d) { return d.RemoveItem(3); }, false, "[1,2,3]"},
      {"{\"a\":1}", [](JsonDocument& d) { return d.RemoveItem(0); }, false, "{\"a\":1}"},
      {"{\"a\":1,\"b\":2}", [](JsonDocument& d) { return d.RemoveMember("a"); }, true, "{\"b\":2}"},
      {"{\"a\":1}", [](JsonDocument& d) { return d.RemoveMember("x"); }, false, "{\"a\":1}"},
      {"{\"a\":1}", [](JsonDocument& d) { return d.RemoveMember("x.y"); }, false, "{\"a\":1}"},
      {"{\"l\":[1,2]}", [](JsonDocument& d) { return d.RemoveMember("l[0]"); }, true,
       "{\"l\":[null,2]}"},
      {"{\"a\":1}", [](JsonDocument& d) { return d.Reset(kJsonArray); }, true, "[]"},
      {"[1]", [](JsonDocument& d) { return d.Reset(kJsonNull); }, true, "{}"},
      {"[1]", [](JsonDocument& d) { return d.Reset(kJsonObject); }, true, "{}"},
      {"[1]", [](JsonDocument& d) { return d.Reset(kJsonNumber); }, false, "[1]"},
      {"{}", [](JsonDocument& d) { return d.SetRoot("x"); }, true, "\"x\""},
      {"{}", [](JsonDocument& d) { return d.SetRoot("[1]", true); }, true, "[1]"},
      {"{}", [](JsonDocument& d) { return d.SetRoot("null", true); }, true, "null"},
      {"{}", [](JsonDocument& d) { return d.SetRoot("<", true); }, false, "{}"},
      {"{\"a\":[1]}", [](JsonDocument& d) { return d.Clear(); }, true, "{}"},
  };
  for (const Case& c : cases) {
    JsonDocument doc;
    ASSERT_TRUE(doc.Parse(c.start)) << c.start;
    EXPECT_EQ(c.op(doc), c.changed) << c.start << " -> " << c.want;
    EXPECT_EQ(doc.ToJson(), c.want) << c.start;
  }
}

TEST(JsonDocumentWrite, TellsWhetherAMemberIsPresent) {
  auto doc = Parsed("{\"a\":1,\"z\":null,\"o\":{\"b\":false}}");
  EXPECT_TRUE(doc->Has("a"));
  EXPECT_TRUE(doc->Has("o.b"));
  EXPECT_FALSE(doc->Has("z"));
  EXPECT_FALSE(doc->Has("x"));
  EXPECT_FALSE(doc->Has("x.y"));
  EXPECT_FALSE(doc->Has(""));
}

TEST(JsonDocumentWrite, KeepsNestingWithinTheLimit) {
  JsonDocument doc;
  EXPECT_FALSE(doc.SetJson("a", Nested(kMaxJsonDepth)));
  EXPECT_EQ(doc.ToJson(), "{}");
  ASSERT_TRUE(doc.SetJson("a", Nested(kMaxJsonDepth - 1)));
  EXPECT_TRUE(JsonDocument().Parse(doc.ToJson()));

  ASSERT_TRUE(doc.Reset(kJsonArray));
  EXPECT_FALSE(doc.AppendItem(Nested(kMaxJsonDepth), "", true));
  EXPECT_TRUE(doc.AppendItem(Nested(kMaxJsonDepth - 1), "", true));
  EXPECT_FALSE(doc.AppendItem(Nested(kMaxJsonDepth - 1), "[0]", true));
  EXPECT_TRUE(doc.SetRoot(Nested(kMaxJsonDepth), true));
  EXPECT_TRUE(JsonDocument().Parse(doc.ToJson()));
}

}  // namespace
}  // namespace setup
