#include <windows.h>
#include <wininet.h>

#include "net/internet_api.h"

namespace setup {

namespace {

class WinInet : public InternetApi {
 public:
  uint32_t ConnectedStateFlags() override {
    DWORD flags = 0;
    InternetGetConnectedState(&flags, 0);
    return flags;
  }
  Handle Open(const char* agent, uint32_t accessType, const char* proxy,
              const char* bypass) override {
    return InternetOpenA(agent, accessType, proxy, bypass, 0);
  }
  Handle Connect(Handle root, const char* host, uint16_t port, uint32_t service) override {
    return InternetConnectA(static_cast<HINTERNET>(root), host, port, nullptr, nullptr, service, 0,
                            0);
  }
  Handle OpenRequest(Handle connection, const char* verb, const char* path, const char* version,
                     uint32_t flags) override {
    return HttpOpenRequestA(static_cast<HINTERNET>(connection), verb, path, version, nullptr,
                            nullptr, flags, 0);
  }
  bool SendRequest(Handle request, const char* headers, uint32_t headersLength, const void* body,
                   uint32_t bodyLength) override {
    return HttpSendRequestA(static_cast<HINTERNET>(request), headers, headersLength,
                            const_cast<void*>(body), bodyLength) != FALSE;
  }
  Handle OpenUrl(Handle root, const char* url, const char* headers, uint32_t headersLength,
                 uint32_t flags) override {
    return InternetOpenUrlA(static_cast<HINTERNET>(root), url, headers, headersLength, flags, 0);
  }
  QueryResult QueryInfo(Handle request, uint32_t level, void* buffer, uint32_t* length) override {
    DWORD size = *length;
    const BOOL ok = HttpQueryInfoA(static_cast<HINTERNET>(request), level, buffer, &size, nullptr);
    *length = size;
    if (ok) return QueryResult::kOk;
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER ? QueryResult::kBufferTooSmall
                                                       : QueryResult::kFailed;
  }
  bool ReadFile(Handle handle, void* buffer, uint32_t size, uint32_t* read) override {
    DWORD got = 0;
    const BOOL ok = InternetReadFile(static_cast<HINTERNET>(handle), buffer, size, &got);
    *read = got;
    return ok != FALSE;
  }
  void Close(Handle handle) override { InternetCloseHandle(static_cast<HINTERNET>(handle)); }
  uint32_t TickCount() override { return GetTickCount(); }
};

}  // namespace

InternetApi& SystemInternet() {
  static WinInet api;
  return api;
}

}  // namespace setup
