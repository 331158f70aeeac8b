// The WinINet operations that the web request and the download use, behind an
// interface: WinINet on Windows, a recording stand-in in the host tests.
#pragma once

#include <cstdint>

namespace setup {

// WinINet constants used by the callers (values as the platform defines them).
namespace inet {
constexpr uint32_t kOpenTypePreconfig = 0;
constexpr uint32_t kOpenTypeDirect = 1;
constexpr uint32_t kOpenTypeProxy = 3;
constexpr uint32_t kOpenTypePreconfigNoAutoproxy = 4;
constexpr uint32_t kServiceHttp = 3;
constexpr uint32_t kFlagReload = 0x80000000;
constexpr uint32_t kFlagNeedFile = 0x10;
constexpr uint32_t kFlagNoCookies = 0x80000;
constexpr uint32_t kFlagNoAutoRedirect = 0x200000;
constexpr uint32_t kFlagSecure = 0x800000;
constexpr uint32_t kFlagIgnoreRedirectToHttps = 0x4000;
constexpr uint32_t kQueryRawHeadersCrlf = 22;
constexpr uint32_t kQueryContentLengthNumber = 0x20000005;
constexpr uint32_t kQueryStatusCodeNumber = 0x20000013;
constexpr uint32_t kConnectionProxy = 4;
}  // namespace inet

class InternetApi {
 public:
  using Handle = void*;
  enum class QueryResult { kOk, kBufferTooSmall, kFailed };

  virtual ~InternetApi() = default;
  // InternetGetConnectedState: the connection flags.
  virtual uint32_t ConnectedStateFlags() = 0;
  // InternetOpenA: null on failure. `proxy` and `bypass` may be null.
  virtual Handle Open(const char* agent, uint32_t accessType, const char* proxy,
                      const char* bypass) = 0;
  // InternetConnectA with no user and no password.
  virtual Handle Connect(Handle root, const char* host, uint16_t port, uint32_t service) = 0;
  // HttpOpenRequestA with no referrer and no accept types.
  virtual Handle OpenRequest(Handle connection, const char* verb, const char* path,
                             const char* version, uint32_t flags) = 0;
  // HttpSendRequestA.
  virtual bool SendRequest(Handle request, const char* headers, uint32_t headersLength,
                           const void* body, uint32_t bodyLength) = 0;
  // InternetOpenUrlA.
  virtual Handle OpenUrl(Handle root, const char* url, const char* headers, uint32_t headersLength,
                         uint32_t flags) = 0;
  // HttpQueryInfoA; on kBufferTooSmall `length` holds the size needed.
  virtual QueryResult QueryInfo(Handle request, uint32_t level, void* buffer, uint32_t* length) = 0;
  // InternetReadFile.
  virtual bool ReadFile(Handle handle, void* buffer, uint32_t size, uint32_t* read) = 0;
  // InternetCloseHandle.
  virtual void Close(Handle handle) = 0;
  // GetTickCount.
  virtual uint32_t TickCount() = 0;
};

// Closes a handle when it goes out of scope.
class InternetHandle {
 public:
  InternetHandle(InternetApi& api, InternetApi::Handle handle) : api_(api), handle_(handle) {}
  ~InternetHandle() { Reset(); }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  InternetApi::Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset() {
    if (handle_) api_.Close(handle_);
    handle_ = nullptr;
  }

 private:
  InternetApi& api_;
  InternetApi::Handle handle_;
};

// The platform's WinINet (Windows only).
InternetApi& SystemInternet();

}  // namespace setup
