#pragma once
// A small value-returning HTTP client. The exchange runs on the calling
// thread; all exchanges share one cookie store for the life of the process.

#include <atomic>
#include <string>

namespace platform {

struct HttpRequest {
  std::string host;  // lower case, without port
  int port = 80;     // 0 means the default HTTP port
  std::string path;  // from the first "/", query included
  std::string verb;  // "GET" or "POST"
  std::string userAgent;
  std::string proxy;     // "host:port"; empty for a direct connection
  std::string user;      // empty for none
  std::string password;  // empty for none
  std::string headers;   // extra header lines, each ended by "\r\n"
  std::string body;      // sent with POST only
};

struct HttpResponse {
  std::string rawHeaders;  // status line and header lines of the final answer, each ended by "\r\n"
  std::string body;
  // The whole answer arrived, and it was no server error (5xx): not refused,
  // reset, closed early or cut short.
  bool complete = false;
};

// Blocks until the exchange ends, fails or `cancel` becomes true (checked
// about once a second at least). A failed exchange gives whatever arrived.
// Redirects are followed; cookies of every answer go into the shared store
// and go back to the host that set them.
HttpResponse performHttp(const HttpRequest& request, const std::atomic<bool>& cancel);

}  // namespace platform
