#pragma once
// The page fetcher: every page of the site is read through fetchPage.

#include <string>
#include <string_view>

namespace net {

inline constexpr int kDefaultTimeoutSeconds = 90;

struct FetchOptions {
  std::string verb;  // "GET" or "POST" in any letter case; empty means GET
  std::string proxy;
  std::string user;
  std::string password;
  std::string headers;  // extra lines, each ended by "\r\n"
  std::string postData;
  int timeoutSeconds = 0;  // 0 or less means kDefaultTimeoutSeconds
  std::string* rawHeadersOut = nullptr;
  // More tries for an answer that was not complete (refused, reset, closed
  // early, cut short, a server error), each after a short pause. A try that
  // ran out of time is not repeated. With retries, an answer still
  // incomplete after the last try gives empty bytes.
  int retries = 0;
};

// The tries a run gives each of its result and contact pages.
inline constexpr int kRunPageRetries = 2;

// Fetches url on a thread of its own and returns the body of the answer, or
// empty bytes when nothing arrived within the limit, counted from the call.
// Without retries the HTTP status is not examined and whatever arrived of a
// failed answer is returned. Safe from any thread; on the interface thread,
// events keep being processed while it waits.
std::string fetchPage(const std::string& url, const FetchOptions& options = {});

// A fetched body as the parsers read it: cut at its first zero byte and
// converted from UTF-8 to GBK.
std::string pageText(std::string_view body);

// Parts of an address "http://host[:port]/path".
std::string urlHost(std::string_view url, bool keepPort);
std::string urlPath(std::string_view url);
int urlPort(std::string_view url);

}  // namespace net
