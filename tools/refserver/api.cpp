#include "api.h"

#include "files.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace refserver {
namespace {

const char kHtmlPage[] =
    "<!DOCTYPE html>\n"
    "<html><head><title>502 Bad Gateway</title></head>\n"
    "<body><h1>Bad Gateway</h1><p>The application service is not available.</p></body>"
    "</html>\n";

bool Utf8ToGbk(const std::string& in, std::string* out) {
  iconv_t cd = iconv_open("GBK", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::vector<char> buffer(in.size() * 2 + 16);
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  char* dst = buffer.data();
  size_t dst_left = buffer.size();
  const size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1)) return false;
  out->assign(buffer.data(), buffer.size() - dst_left);
  return true;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

void ReplaceDigests(std::string& text, const DigestOf& digest) {
  static const std::string open = "{sha256:";
  for (size_t at = text.find(open); at != std::string::npos; at = text.find(open, at)) {
    const size_t close = text.find('}', at);
    if (close == std::string::npos) return;
    const std::string value = digest(text.substr(at + open.size(), close - at - open.size()));
    text.replace(at, close + 1 - at, value);
    at += value.size();
  }
}

// /gen/ digests never change and take long for large sizes: each is worked out once.
class DigestCache {
 public:
  explicit DigestCache(std::string files_dir) : files_dir_(std::move(files_dir)) {}
  std::string operator()(const std::string& path) {
    if (path.compare(0, 5, "/gen/") != 0) return BodyDigest(files_dir_, path);
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = known_.find(path);
    if (it == known_.end()) it = known_.emplace(path, BodyDigest(files_dir_, path)).first;
    return it->second;
  }

 private:
  std::string files_dir_;
  std::mutex mutex_;
  std::map<std::string, std::string> known_;
};

}  // namespace

bool RenderApiReply(const ApiReply& reply, const std::string& origin, const DigestOf& digest,
                    RenderedReply* out, std::string* error) {
  if (reply.kind == ApiReply::Kind::kHtml) {
    out->status = reply.status;
    out->content_type = "text/html";
    out->body = kHtmlPage;
    return true;
  }
  nlohmann::ordered_json json;
  json["code"] = reply.code;
  if (reply.kind == ApiReply::Kind::kRecord) json["data"] = reply.data;
  if (reply.kind == ApiReply::Kind::kRefusal || !reply.content.empty()) {
    json["content"] = reply.content;
  }
  std::string text = json.dump(-1, ' ', reply.escape_non_ascii);
  ReplaceAll(text, "{origin}", origin);
  ReplaceDigests(text, digest);
  out->status = reply.status;
  if (reply.escape_non_ascii) {
    out->content_type = "application/json";
    out->body = std::move(text);
    return true;
  }
  out->content_type = "application/json; charset=GBK";
  if (!Utf8ToGbk(text, &out->body)) {
    *error = "a text has characters outside code page 936: " + text;
    return false;
  }
  return true;
}

bool CheckApiReplies(const Catalogue& catalogue, std::string* error) {
  RenderedReply out;
  const std::string origin = "http://127.0.0.1:1";
  const DigestOf none = [](const std::string&) { return std::string(64, '0'); };
  if (!RenderApiReply(catalogue.bad_key, origin, none, &out, error) ||
      !RenderApiReply(catalogue.unknown_agent, origin, none, &out, error)) {
    return false;
  }
  for (const auto& [id, reply] : catalogue.agents) {
    if (!RenderApiReply(reply, origin, none, &out, error)) {
      *error = "agent " + id + ": " + *error;
      return false;
    }
  }
  return true;
}

void AddApiRoutes(Server& server, const Catalogue& catalogue, const std::string& origin,
                  const std::string& files_dir) {
  auto cache = std::make_shared<DigestCache>(files_dir);
  const DigestOf digest = [cache](const std::string& path) { return (*cache)(path); };
  server.Get("/app_api/getapp", [&catalogue, origin, digest](const httplib::Request& req,
                                                             httplib::Response& res) {
    const ApiReply* reply = &catalogue.unknown_agent;
    if (req.get_param_value("app_id") != catalogue.app_id ||
        req.get_param_value("secret_key") != catalogue.secret_key) {
      reply = &catalogue.bad_key;
    } else {
      auto it = catalogue.agents.find(req.get_param_value("agent_id"));
      if (it != catalogue.agents.end()) reply = &it->second;
    }
    RenderedReply out;
    std::string error;
    if (!RenderApiReply(*reply, origin, digest, &out, &error)) {  // checked at start; cannot happen
      res.status = 500;
      res.set_content(error + "\n", "text/plain");
      return;
    }
    res.status = out.status;
    res.set_content(out.body, out.content_type);
  });
}

}  // namespace refserver
