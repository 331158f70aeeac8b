#include "echo.h"

#include <cstdio>

namespace refserver {
namespace {

constexpr size_t kHexHeaderLimit = 256;  // bodies up to this size also go into X-Echo-Body-Hex
constexpr int kFillerLines = 30;
constexpr size_t kFillerWidth = 180;

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

void Echo(const httplib::Request& req, httplib::Response& res) {
  res.set_header("X-Echo-Method", req.method);
  res.set_header("X-Echo-Body-Length", std::to_string(req.body.size()));
  if (req.body.size() <= kHexHeaderLimit) res.set_header("X-Echo-Body-Hex", Hex(req.body));
  res.set_content(DescribeRequest(CurrentRequestHead(), req.body), "text/plain");
}

}  // namespace

std::string DescribeRequest(const std::string& head, const std::string& body) {
  std::string out;
  size_t start = 0;
  bool first = true;
  while (start < head.size()) {
    size_t end = head.find("\r\n", start);
    if (end == std::string::npos) end = head.size();
    const std::string line = head.substr(start, end - start);
    start = end + 2;
    if (line.empty()) break;  // the empty line ends the head
    if (first) {
      first = false;
      const size_t a = line.find(' ');
      const size_t b = line.rfind(' ');
      if (a != std::string::npos && b > a) {
        out += "method: " + line.substr(0, a) + "\n";
        out += "target: " + line.substr(a + 1, b - a - 1) + "\n";
        out += "version: " + line.substr(b + 1) + "\n";
        continue;
      }
      out += "request-line: " + line + "\n";
      continue;
    }
    out += "header: " + line + "\n";
  }
  out += "body-length: " + std::to_string(body.size()) + "\n";
  out += "body-hex: " + Hex(body) + "\n";
  return out;
}

void AddLongHeaders(httplib::Response& res) {
  res.set_header("set-cookie", "sid=9; Path=/");
  res.set_header("SET-COOKIE", "lang=cn");
  res.set_header("Set-Cookie", "theme=dark; Max-Age=3600");
  res.set_header("sEt-CoOkIe", "seen=1");
  for (int i = 1; i <= kFillerLines; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "X-Filler-%02d", i);
    std::string value;
    for (size_t j = 0; j < kFillerWidth; ++j) value += static_cast<char>('a' + (i + j) % 26);
    res.set_header(name, value);
  }
}

void AddEchoRoutes(Server& server) {
  server.Get("/echo", Echo);
  server.Post("/echo", Echo);
  server.Put("/echo", Echo);
  server.Patch("/echo", Echo);
  server.Delete("/echo", Echo);
  server.Options("/echo", Echo);

  server.Get("/cookies", [](const httplib::Request&, httplib::Response& res) {
    res.set_header("set-cookie", "sid=9; Path=/");
    res.set_header("SET-COOKIE", "lang=cn");
    res.set_content("cookies set\n", "text/plain");
  });

  server.Get("/redirect", [](const httplib::Request& req, httplib::Response& res) {
    const std::string to = req.get_param_value("to");
    if (to.empty() || to[0] != '/' || (to.size() > 1 && to[1] == '/') ||
        to.find_first_of("\r\n") != std::string::npos) {
      res.status = 400;
      res.set_content("to must be a path on this server, starting with one /\n", "text/plain");
      return;
    }
    res.set_redirect(to, 302);
    res.set_content("redirecting to " + to + "\n", "text/plain");
  });

  server.Get("/long-headers", [](const httplib::Request&, httplib::Response& res) {
    AddLongHeaders(res);
    res.set_content("long headers\n", "text/plain");
  });
}

}  // namespace refserver
