// The catalogue: what the reference server answers to app-info queries and which faults it
// applies to downloads. Loaded once from a JSON file at start; read-only afterwards.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace refserver {

// One reply of the app-info API.
struct ApiReply {
  enum class Kind {
    kRecord,   // {"code": code, "data": data}
    kRefusal,  // {"code": code, "content": content}
    kNoData,   // {"code": code}
    kHtml,     // an HTML page instead of JSON, with the given HTTP status
  };
  Kind kind = Kind::kRecord;
  nlohmann::ordered_json code = 1;
  std::string content;          // UTF-8
  nlohmann::ordered_json data;  // the application record, merged with the catalogue's "app"
  bool escape_non_ascii = false;
  int status = 200;
};

enum class FileFault {
  kNone,
  kNotFound,         // 404 with an HTML page
  kServerError,      // 500 with an HTML page
  kChunked,          // chunked transfer, no Content-Length
  kEmpty,            // Content-Length 0
  kCut,              // full Content-Length announced, connection closed after `after` bytes
  kTrickle,          // `chunk` bytes every `interval_ms` milliseconds
  kLongHeaders,      // a reply-header block of more than 5,000 bytes with several cookies
  kCutFirst,         // a request without a Range is cut like kCut; one with a Range is served
  kCutFirstNoRange,  // as kCutFirst, but a request with a Range gets the whole file (200)
};

// A download rule: applies `fault` to the requests that match `path` (a glob) and `query`.
struct FileRule {
  std::string path;                          // empty: any path
  std::map<std::string, std::string> query;  // each must be present; value "*" matches any
  FileFault fault = FileFault::kNone;
  uint64_t after = 1000;
  uint64_t chunk = 1024;
  uint64_t interval_ms = 100;
};

struct Catalogue {
  std::string app_id = "1";
  std::string secret_key = "Hb4QyTk8PvWs2DmXc6RaJf0LzNu5EgYi";
  ApiReply bad_key;                        // wrong app_id or secret_key
  ApiReply unknown_agent;                  // agent id not in `agents`
  std::map<std::string, ApiReply> agents;  // by agent id as decimal text
  std::vector<FileRule> files;             // first match wins
};

// Reads and checks a catalogue file. On failure returns false and describes the problem.
bool LoadCatalogue(const std::string& path, Catalogue* out, std::string* error);

// Parses catalogue JSON text (the file's content).
bool ParseCatalogue(const std::string& text, Catalogue* out, std::string* error);

// Looks up the rule for a download request; nullptr when none matches.
const FileRule* MatchFileRule(const Catalogue& catalogue, const std::string& path,
                              const std::multimap<std::string, std::string>& query);

const char* FileFaultName(FileFault fault);

}  // namespace refserver
