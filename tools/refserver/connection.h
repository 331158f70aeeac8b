// The reference server's connection handling. It reads every connection through a recording
// stream, so that a handler can see the request line and header lines exactly as they arrived
// (the library keeps headers in a sorted map), and it prepares each request before routing:
//  - the request body, for every method (GET and HEAD included), is read here into req.body;
//  - byte ranges are left to the handlers (the library would otherwise slice every reply);
//  - replies are never compressed, whatever Accept-Encoding asks for.
#pragma once

#include <string>

#include <httplib.h>

namespace refserver {

class Server : public httplib::Server {
 public:
  // True once stop() was called; long transfers poll it to end early.
  bool stopping() const { return svr_sock_ == INVALID_SOCKET; }

 private:
  bool process_and_close_socket(socket_t sock) override;
};

// The head of the request being handled on this thread, as received: the request line and
// the header lines, each ending with CR LF, and the empty line that ends the head.
const std::string& CurrentRequestHead();

}  // namespace refserver
