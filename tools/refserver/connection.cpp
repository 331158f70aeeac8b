#include "connection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace refserver {
namespace {

constexpr int kReadTimeoutMs = 5000;
constexpr int kWriteTimeoutMs = 30000;
constexpr int kPollSliceMs = 100;
constexpr size_t kMaxBody = 64u << 20;

thread_local std::string tl_request_head;

bool WaitFor(int fd, short events, int timeout_ms) {
  pollfd p{fd, events, 0};
  int r;
  do {
    r = poll(&p, 1, timeout_ms);
  } while (r < 0 && errno == EINTR);
  return r > 0;
}

void AddressOf(const sockaddr_storage& addr, std::string& ip, int& port) {
  char text[INET6_ADDRSTRLEN] = {};
  if (addr.ss_family == AF_INET) {
    const auto& a = reinterpret_cast<const sockaddr_in&>(addr);
    inet_ntop(AF_INET, &a.sin_addr, text, sizeof text);
    port = ntohs(a.sin_port);
  } else if (addr.ss_family == AF_INET6) {
    const auto& a = reinterpret_cast<const sockaddr_in6&>(addr);
    inet_ntop(AF_INET6, &a.sin6_addr, text, sizeof text);
    port = ntohs(a.sin6_port);
  }
  ip = text;
}

// A socket stream that keeps a copy of every byte it hands to the library since the last
// StartRecording().
class RecordingStream : public httplib::Stream {
 public:
  explicit RecordingStream(int sock) : sock_(sock) {}

  bool is_readable() const override {
    return pos_ < filled_ || WaitFor(sock_, POLLIN, kReadTimeoutMs);
  }
  bool is_writable() const override { return WaitFor(sock_, POLLOUT, kWriteTimeoutMs); }

  ssize_t read(char* ptr, size_t size) override {
    if (pos_ == filled_) {
      if (!WaitFor(sock_, POLLIN, kReadTimeoutMs)) return -1;
      ssize_t n;
      do {
        n = recv(sock_, buffer_.data(), kBufferSize, 0);
      } while (n < 0 && errno == EINTR);
      if (n <= 0) return n;
      filled_ = static_cast<size_t>(n);
      pos_ = 0;
    }
    size_t n = std::min(size, filled_ - pos_);
    std::memcpy(ptr, buffer_.data() + pos_, n);
    recorded_.append(ptr, n);
    pos_ += n;
    return static_cast<ssize_t>(n);
  }

  using httplib::Stream::write;
  ssize_t write(const char* ptr, size_t size) override {
    if (!is_writable()) return -1;
    ssize_t n;
    do {
      n = send(sock_, ptr, size, MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    return n;
  }

  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    sockaddr_storage addr{};
    socklen_t len = sizeof addr;
    if (getpeername(sock_, reinterpret_cast<sockaddr*>(&addr), &len) == 0) {
      AddressOf(addr, ip, port);
    }
  }
  void get_local_ip_and_port(std::string& ip, int& port) const override {
    sockaddr_storage addr{};
    socklen_t len = sizeof addr;
    if (getsockname(sock_, reinterpret_cast<sockaddr*>(&addr), &len) == 0) {
      AddressOf(addr, ip, port);
    }
  }
  socket_t socket() const override { return sock_; }

  bool HasBufferedBytes() const { return pos_ < filled_; }
  void StartRecording() { recorded_.clear(); }
  const std::string& recorded() const { return recorded_; }

  // Reads exactly `size` bytes; false when the peer stops sending first.
  bool ReadExactly(char* ptr, size_t size) {
    while (size > 0) {
      ssize_t n = read(ptr, size);
      if (n <= 0) return false;
      ptr += n;
      size -= static_cast<size_t>(n);
    }
    return true;
  }

 private:
  static constexpr size_t kBufferSize = 16384;
  int sock_;
  std::array<char, kBufferSize> buffer_{};
  size_t filled_ = 0;
  size_t pos_ = 0;
  std::string recorded_;
};

// Reads a body announced by Content-Length into req.body and tells the library that nothing
// is left to read. Chunked request bodies and oversized ones are left to the library.
void TakeBody(RecordingStream& strm, httplib::Request& req) {
  if (req.has_header("Transfer-Encoding") || !req.has_header("Content-Length")) return;
  const std::string text = req.get_header_value("Content-Length");
  if (text.empty() || text.size() > 12 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return;
  }
  const size_t length = std::stoull(text);
  if (length > kMaxBody) return;
  req.body.resize(length);
  if (!strm.ReadExactly(req.body.data(), length)) req.body.clear();
  req.headers.erase("Content-Length");
  req.headers.emplace("Content-Length", "0");
  req.headers.erase("Content-Type");  // no form or multipart decoding of bodies
}

}  // namespace

const std::string& CurrentRequestHead() {
  return tl_request_head;
}

bool Server::process_and_close_socket(socket_t sock) {
  RecordingStream strm(sock);
  bool ok = false;
  for (size_t left = keep_alive_max_count_; left > 0 && !stopping(); --left) {
    // Wait for the next request in short slices, so that stop() is noticed.
    bool ready = strm.HasBufferedBytes();
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(keep_alive_timeout_sec_);
    while (!ready && !stopping() && std::chrono::steady_clock::now() < deadline) {
      ready = WaitFor(sock, POLLIN, kPollSliceMs);
    }
    if (!ready || stopping()) break;

    strm.StartRecording();
    bool closed = false;
    ok = process_request(strm, left == 1, closed, [&strm](httplib::Request& req) {
      tl_request_head = strm.recorded();
      TakeBody(strm, req);
      req.ranges.clear();
      req.headers.erase("Accept-Encoding");
    });
    if (!ok || closed) break;
  }
  shutdown(sock, SHUT_RDWR);
  close(sock);
  return ok;
}

}  // namespace refserver
