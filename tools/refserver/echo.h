// Endpoints for testing the installer's web requests:
//   /echo          any method; describes the request exactly as received (see DescribeRequest)
//   /cookies       sets two cookies with header names in different letter case
//   /redirect?to=P 302 to the path P on this server
//   /long-headers  a reply-header block of more than 5,000 bytes with several cookies
#pragma once

#include <string>

#include "connection.h"

namespace refserver {

void AddEchoRoutes(Server& server);

// Adds the long header block of /long-headers (also a download fault) to a reply.
void AddLongHeaders(httplib::Response& res);

// The /echo description of a request, one item per line:
//   method: GET
//   target: /echo?a=1
//   version: HTTP/1.1
//   header: <each header line as received, in order>
//   body-length: <decimal>
//   body-hex: <the body's bytes, two lower-case hex digits each>
std::string DescribeRequest(const std::string& head, const std::string& body);

}  // namespace refserver
