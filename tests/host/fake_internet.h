// A recording stand-in for the WinINet operations and the download's files:
// it answers from a script and records every call with its exact arguments.
#pragma once

#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "net/download.h"
#include "net/internet_api.h"

namespace setup::testing {

struct Call {
  std::string op;
  std::vector<std::string> args;
};

inline std::string Arg(const char* text) {
  return text ? std::string(text) : std::string("<null>");
}

class FakeInternet : public InternetApi {
 public:
  // Script.
  bool failOpen = false, failConnect = false, failRequest = false, failOpenUrl = false;
  uint32_t connectedFlags = 0;
  std::string body;                 // served by ReadFile
  std::vector<uint32_t> readSizes;  // bytes per read (else as many as asked)
  int failReadAt = -1;              // index of the read that fails
  std::string rawHeaders;           // answered to the raw-headers query
  bool failHeaderQuery = false;
  std::optional<uint32_t> contentLength;
  std::optional<uint32_t> statusCode;
  std::vector<uint32_t> ticks;  // successive GetTickCount values (the last one repeats)

  // Record.
  std::vector<Call> calls;
  std::vector<uintptr_t> closed;

  std::vector<Call> CallsOf(const std::string& op) const {
    std::vector<Call> out;
    for (const Call& c : calls)
      if (c.op == op) out.push_back(c);
    return out;
  }

  uint32_t ConnectedStateFlags() override {
    calls.push_back({"ConnectedState", {}});
    return connectedFlags;
  }
  Handle Open(const char* agent, uint32_t access, const char* proxy, const char* bypass) override {
    calls.push_back({"Open", {Arg(agent), std::to_string(access), Arg(proxy), Arg(bypass)}});
    return failOpen ? nullptr : NewHandle();
  }
  Handle Connect(Handle, const char* host, uint16_t port, uint32_t service) override {
    calls.push_back({"Connect", {Arg(host), std::to_string(port), std::to_string(service)}});
    return failConnect ? nullptr : NewHandle();
  }
  Handle OpenRequest(Handle, const char* verb, const char* path, const char* version,
                     uint32_t flags) override {
    calls.push_back({"OpenRequest", {Arg(verb), Arg(path), Arg(version), Hex(flags)}});
    return failRequest ? nullptr : NewHandle();
  }
  bool SendRequest(Handle, const char* headers, uint32_t headersLength, const void* bodyData,
                   uint32_t bodyLength) override {
    calls.push_back(
        {"Send",
         {std::string(headers, headersLength), std::to_string(headersLength),
          bodyData ? std::string(static_cast<const char*>(bodyData), bodyLength) : "<null>",
          std::to_string(bodyLength)}});
    return true;
  }
  Handle OpenUrl(Handle, const char* url, const char* headers, uint32_t headersLength,
                 uint32_t flags) override {
    calls.push_back({"OpenUrl",
                     {Arg(url), std::string(headers, headersLength), std::to_string(headersLength),
                      Hex(flags)}});
    return failOpenUrl ? nullptr : NewHandle();
  }
  QueryResult QueryInfo(Handle, uint32_t level, void* buffer, uint32_t* length) override {
    calls.push_back({"QueryInfo", {Hex(level), std::to_string(*length)}});
    if (level == inet::kQueryStatusCodeNumber) {
      if (!statusCode) return QueryResult::kFailed;
      std::memcpy(buffer, &*statusCode, 4);
      return QueryResult::kOk;
    }
    if (level == inet::kQueryContentLengthNumber) {
      if (!contentLength) return QueryResult::kFailed;
      std::memcpy(buffer, &*contentLength, 4);
      return QueryResult::kOk;
    }
    if (failHeaderQuery) return QueryResult::kFailed;
    if (*length < rawHeaders.size() + 1) {
      *length = static_cast<uint32_t>(rawHeaders.size() + 1);
      return QueryResult::kBufferTooSmall;
    }
    std::memcpy(buffer, rawHeaders.c_str(), rawHeaders.size() + 1);
    *length = static_cast<uint32_t>(rawHeaders.size());
    return QueryResult::kOk;
  }
  bool ReadFile(Handle, void* buffer, uint32_t size, uint32_t* read) override {
    const int index = reads_++;
    calls.push_back({"Read", {std::to_string(size)}});
    *read = 0;
    if (index == failReadAt) return false;
    uint32_t n = static_cast<uint32_t>(body.size() - served_);
    if (n > size) n = size;
    if (index < static_cast<int>(readSizes.size()) && readSizes[index] < n) n = readSizes[index];
    std::memcpy(buffer, body.data() + served_, n);
    served_ += n;
    *read = n;
    return true;
  }
  void Close(Handle handle) override {
    calls.push_back({"Close", {std::to_string(reinterpret_cast<uintptr_t>(handle))}});
    closed.push_back(reinterpret_cast<uintptr_t>(handle));
  }
  uint32_t TickCount() override {
    if (ticks.empty()) return 0;
    const uint32_t t = ticks[tickIndex_ < ticks.size() ? tickIndex_ : ticks.size() - 1];
    ++tickIndex_;
    return t;
  }

  static std::string Hex(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%X", v);
    return buf;
  }

 private:
  Handle NewHandle() { return reinterpret_cast<Handle>(++handles_); }
  uintptr_t handles_ = 0;
  int reads_ = 0;
  size_t served_ = 0;
  size_t tickIndex_ = 0;
};

class FakeFiles : public DownloadFileApi {
 public:
  std::map<std::string, std::string> files;
  bool failOpen = false;
  int failWriteAt = -1;
  std::vector<std::string> opens;  // "path append=0/1"
  int openHandles = 0;

  Handle OpenForWriting(const char* path, bool append) override {
    opens.push_back(std::string(path) + " append=" + (append ? "1" : "0"));
    if (failOpen) return nullptr;
    if (!append) files[path].clear();
    files[path];  // created when missing
    current_ = path;
    ++openHandles;
    return &current_;
  }
  bool Write(Handle, const void* data, uint32_t size) override {
    if (writes_++ == failWriteAt) return false;
    files[current_].append(static_cast<const char*>(data), size);
    return true;
  }
  void Close(Handle) override { --openHandles; }

 private:
  std::string current_;
  int writes_ = 0;
};

}  // namespace setup::testing
