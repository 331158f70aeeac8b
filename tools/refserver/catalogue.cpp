#include "catalogue.h"

#include <fnmatch.h>

#include <fstream>
#include <initializer_list>
#include <sstream>

namespace refserver {
namespace {

using Json = nlohmann::ordered_json;

struct FaultName {
  FileFault fault;
  const char* name;
};
constexpr FaultName kFileFaults[] = {
    {FileFault::kNone, "none"},
    {FileFault::kNotFound, "not-found"},
    {FileFault::kServerError, "server-error"},
    {FileFault::kChunked, "chunked"},
    {FileFault::kEmpty, "empty"},
    {FileFault::kCut, "cut"},
    {FileFault::kTrickle, "trickle"},
    {FileFault::kLongHeaders, "long-headers"},
    {FileFault::kCutFirst, "cut-first"},
    {FileFault::kCutFirstNoRange, "cut-first-no-range"},
};

// Fails when `object` has a member outside `known` ("comment" is always allowed).
bool OnlyKnownMembers(const Json& object, std::initializer_list<const char*> known,
                      const std::string& where, std::string* error) {
  for (const auto& item : object.items()) {
    if (item.key() == "comment") continue;
    bool found = false;
    for (const char* k : known) found = found || item.key() == k;
    if (!found) {
      *error = where + ": unknown member \"" + item.key() + "\"";
      return false;
    }
  }
  return true;
}

bool IsDecimalId(const std::string& s) {
  if (s.empty() || s.size() > 10 || (s[0] == '0' && s.size() > 1)) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return std::stoull(s) <= 2147483647ull;
}

// Reads an API entry. `default_kind` applies when the entry has no "fault".
bool ParseApiReply(const Json& entry, ApiReply::Kind default_kind, bool default_escape,
                   const Json& app, const std::string& agent_id, const std::string& where,
                   ApiReply* out, std::string* error) {
  if (!entry.is_object()) {
    *error = where + ": must be an object";
    return false;
  }
  if (!OnlyKnownMembers(entry, {"fault", "code", "content", "data", "escape_non_ascii", "status"},
                        where, error)) {
    return false;
  }
  ApiReply reply;
  reply.kind = default_kind;
  if (entry.contains("fault")) {
    const Json& fault = entry["fault"];
    if (fault == "refuse") {
      reply.kind = ApiReply::Kind::kRefusal;
    } else if (fault == "no-data") {
      reply.kind = ApiReply::Kind::kNoData;
    } else if (fault == "html") {
      reply.kind = ApiReply::Kind::kHtml;
    } else {
      *error = where + ": \"fault\" must be \"refuse\", \"no-data\" or \"html\"";
      return false;
    }
  }
  reply.code = reply.kind == ApiReply::Kind::kRefusal ? 0 : 1;
  if (entry.contains("code")) {
    if (!entry["code"].is_number()) {
      *error = where + ": \"code\" must be a number";
      return false;
    }
    reply.code = entry["code"];
  }
  if (entry.contains("content")) {
    if (!entry["content"].is_string()) {
      *error = where + ": \"content\" must be a string";
      return false;
    }
    reply.content = entry["content"].get<std::string>();
  }
  if (entry.contains("escape_non_ascii") && !entry["escape_non_ascii"].is_boolean()) {
    *error = where + ": \"escape_non_ascii\" must be true or false";
    return false;
  }
  reply.escape_non_ascii = entry.value("escape_non_ascii", default_escape);
  if (entry.contains("status")) {
    if (!entry["status"].is_number_integer() || entry["status"] < 100 || entry["status"] > 599) {
      *error = where + ": \"status\" must be an HTTP status number";
      return false;
    }
    reply.status = entry["status"].get<int>();
  }
  if (reply.kind == ApiReply::Kind::kRecord) {
    reply.data = app;
    if (!agent_id.empty() && !reply.data.contains("agent_info")) {
      reply.data["agent_info"] = Json{{"id", std::stoll(agent_id)}};
    }
    if (entry.contains("data")) {
      if (!entry["data"].is_object()) {
        *error = where + ": \"data\" must be an object";
        return false;
      }
      reply.data.merge_patch(entry["data"]);
    }
  } else if (entry.contains("data")) {
    *error = where + ": \"data\" belongs to replies without \"fault\"";
    return false;
  }
  *out = std::move(reply);
  return true;
}

bool ReadCount(const Json& rule, const char* name, const std::string& where, uint64_t* out,
               std::string* error) {
  if (!rule.contains(name)) return true;
  if (!rule[name].is_number_unsigned()) {
    *error = where + ": \"" + name + "\" must be a non-negative integer";
    return false;
  }
  *out = rule[name].get<uint64_t>();
  return true;
}

bool ParseFileRule(const Json& rule, const std::string& where, FileRule* out, std::string* error) {
  if (!rule.is_object()) {
    *error = where + ": must be an object";
    return false;
  }
  if (!OnlyKnownMembers(rule, {"path", "query", "fault", "after", "chunk", "interval_ms"}, where,
                        error)) {
    return false;
  }
  FileRule r;
  if (rule.contains("path")) {
    if (!rule["path"].is_string()) {
      *error = where + ": \"path\" must be a string";
      return false;
    }
    r.path = rule["path"].get<std::string>();
  }
  if (rule.contains("query")) {
    if (!rule["query"].is_object()) {
      *error = where + ": \"query\" must be an object of strings";
      return false;
    }
    for (const auto& item : rule["query"].items()) {
      if (!item.value().is_string()) {
        *error = where + ": \"query\" must be an object of strings";
        return false;
      }
      r.query[item.key()] = item.value().get<std::string>();
    }
  }
  if (!rule.contains("fault") || !rule["fault"].is_string()) {
    *error = where + ": needs a \"fault\" name";
    return false;
  }
  const std::string fault = rule["fault"].get<std::string>();
  bool known = false;
  for (const auto& f : kFileFaults) {
    if (fault == f.name) {
      r.fault = f.fault;
      known = true;
    }
  }
  if (!known) {
    *error = where + ": unknown fault \"" + fault + "\"";
    return false;
  }
  if (!ReadCount(rule, "after", where, &r.after, error) ||
      !ReadCount(rule, "chunk", where, &r.chunk, error) ||
      !ReadCount(rule, "interval_ms", where, &r.interval_ms, error)) {
    return false;
  }
  if (r.chunk == 0) {
    *error = where + ": \"chunk\" must be at least 1";
    return false;
  }
  *out = std::move(r);
  return true;
}

}  // namespace

bool ParseCatalogue(const std::string& text, Catalogue* out, std::string* error) {
  Json root = Json::parse(text, nullptr, false);
  if (root.is_discarded() || !root.is_object()) {
    *error = "not a JSON object";
    return false;
  }
  if (!OnlyKnownMembers(root,
                        {"app_id", "secret_key", "escape_non_ascii", "app", "bad_key",
                         "unknown_agent", "agents", "files"},
                        "catalogue", error)) {
    return false;
  }
  Catalogue c;
  if (root.contains("app_id")) {
    if (!root["app_id"].is_number_integer()) {
      *error = "\"app_id\" must be an integer";
      return false;
    }
    c.app_id = std::to_string(root["app_id"].get<long long>());
  }
  if (root.contains("secret_key")) {
    if (!root["secret_key"].is_string()) {
      *error = "\"secret_key\" must be a string";
      return false;
    }
    c.secret_key = root["secret_key"].get<std::string>();
  }
  if (root.contains("escape_non_ascii") && !root["escape_non_ascii"].is_boolean()) {
    *error = "\"escape_non_ascii\" must be true or false";
    return false;
  }
  const bool escape = root.value("escape_non_ascii", false);
  const Json app = root.value("app", Json::object());
  if (!app.is_object()) {
    *error = "\"app\" must be an object";
    return false;
  }

  const Json bad_key = root.value("bad_key", Json{{"content", "invalid app_id or secret_key"}});
  const Json unknown = root.value("unknown_agent", Json{{"content", "unknown agent"}});
  if (!ParseApiReply(bad_key, ApiReply::Kind::kRefusal, escape, app, "", "bad_key", &c.bad_key,
                     error) ||
      !ParseApiReply(unknown, ApiReply::Kind::kRefusal, escape, app, "", "unknown_agent",
                     &c.unknown_agent, error)) {
    return false;
  }

  const Json agents = root.value("agents", Json::object());
  if (!agents.is_object()) {
    *error = "\"agents\" must be an object keyed by agent id";
    return false;
  }
  for (const auto& item : agents.items()) {
    const std::string where = "agents." + item.key();
    if (!IsDecimalId(item.key())) {
      *error = where + ": the key must be an agent id in decimal (1 to 2147483647)";
      return false;
    }
    ApiReply reply;
    if (!ParseApiReply(item.value(), ApiReply::Kind::kRecord, escape, app, item.key(), where,
                       &reply, error)) {
      return false;
    }
    c.agents[item.key()] = std::move(reply);
  }

  const Json files = root.value("files", Json::array());
  if (!files.is_array()) {
    *error = "\"files\" must be an array of rules";
    return false;
  }
  for (size_t i = 0; i < files.size(); ++i) {
    FileRule rule;
    if (!ParseFileRule(files[i], "files[" + std::to_string(i) + "]", &rule, error)) return false;
    c.files.push_back(std::move(rule));
  }
  *out = std::move(c);
  return true;
}

bool LoadCatalogue(const std::string& path, Catalogue* out, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = path + ": cannot be read";
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  bool ok = false;
  try {
    ok = ParseCatalogue(text.str(), out, error);
  } catch (const nlohmann::json::exception& e) {
    *error = e.what();
  }
  if (!ok) {
    *error = path + ": " + *error;
    return false;
  }
  return true;
}

const FileRule* MatchFileRule(const Catalogue& catalogue, const std::string& path,
                              const std::multimap<std::string, std::string>& query) {
  for (const FileRule& rule : catalogue.files) {
    if (!rule.path.empty() && fnmatch(rule.path.c_str(), path.c_str(), 0) != 0) continue;
    bool all = true;
    for (const auto& [key, value] : rule.query) {
      auto it = query.find(key);
      all = all && it != query.end() && (value == "*" || it->second == value);
    }
    if (all) return &rule;
  }
  return nullptr;
}

const char* FileFaultName(FileFault fault) {
  for (const auto& f : kFileFaults) {
    if (f.fault == fault) return f.name;
  }
  return "?";
}

}  // namespace refserver
