#include "net/fetcher.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "net/text_rules.h"
#include "platform/codepage.h"
#include "platform/event_pump.h"
#include "platform/http_client.h"
#include "platform/threads.h"

namespace net {
namespace {

constexpr std::string_view kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr std::string_view kAcceptHeader =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";
constexpr std::string_view kAcceptLanguageHeader = "Accept-Language: zh-cn\r\n";
// The pause before the second try; the third waits twice as long.
constexpr auto kRetryPause = std::chrono::milliseconds(200);
constexpr std::string_view kFormContentType = "Content-Type: application/x-www-form-urlencoded\r\n";

std::string toLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool holds(std::string_view text, std::string_view sought) { return findText(text, sought, 1, true) > 0; }

// What caller and worker share. The caller abandons it at the limit; the
// worker still owns its half and whatever it does later reaches nobody.
struct Exchange {
  std::mutex mutex;
  std::condition_variable finishedChanged;
  bool finished = false;
  std::chrono::steady_clock::time_point finishedAt;
  std::atomic<bool> abandoned{false};
  platform::HttpResponse response;
};

// The request as it goes on the wire, or nothing for a verb other than GET
// and POST.
bool buildRequest(const std::string& url, const FetchOptions& options, platform::HttpRequest& out) {
  const std::string verb = toLower(options.verb);
  if (!verb.empty() && verb != "get" && verb != "post") return false;
  // Methods are case-sensitive on the wire; "get" is sent as "GET".
  out.verb = verb == "post" ? "POST" : "GET";
  out.host = urlHost(url, false);
  out.port = urlPort(url);
  out.path = urlPath(url);
  out.userAgent = kUserAgent;
  if (!isBlank(options.proxy)) out.proxy = options.proxy;
  if (!isBlank(options.user)) out.user = options.user;
  if (!isBlank(options.password)) out.password = options.password;

  std::string headers = options.headers;
  if (!holds(headers, "Accept: ")) headers += kAcceptHeader;
  if (!holds(headers, "Referer: ")) headers += "Referer: " + url + "\r\n";
  if (!holds(headers, "Accept-Language: ")) headers += kAcceptLanguageHeader;
  if (out.verb == "POST" && !options.postData.empty()) {
    if (!holds(headers, "Content-Type: ")) headers += kFormContentType;
    headers += "Content-Length: " + std::to_string(options.postData.size()) + "\r\n";
    out.body = options.postData;
  }
  out.headers = std::move(headers);
  return true;
}

void runRequest(const std::shared_ptr<Exchange>& exchange, const platform::HttpRequest& request) {
  platform::HttpResponse response = platform::performHttp(request, exchange->abandoned);
  const std::lock_guard lock(exchange->mutex);
  exchange->response = std::move(response);
  exchange->finished = true;
  exchange->finishedAt = std::chrono::steady_clock::now();
  exchange->finishedChanged.notify_all();
}

// One try: the answer, or nothing when none arrived within the limit.
std::optional<platform::HttpResponse> fetchOnce(const platform::HttpRequest& request, const FetchOptions& options) {
  const int limit = options.timeoutSeconds > 0 ? options.timeoutSeconds : kDefaultTimeoutSeconds;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(limit);

  auto exchange = std::make_shared<Exchange>();
  if (!platform::startThread([exchange, request] { runRequest(exchange, request); })) return std::nullopt;

  const auto finished = [&exchange] {
    const std::lock_guard lock(exchange->mutex);
    return exchange->finished;
  };
  while (!finished() && std::chrono::steady_clock::now() < deadline) {
    if (!platform::pumpEventsUntil(finished, deadline)) {
      std::unique_lock lock(exchange->mutex);
      exchange->finishedChanged.wait_until(lock, deadline, [&exchange] { return exchange->finished; });
    }
  }

  std::unique_lock lock(exchange->mutex);
  // An answer that came in time counts, however late the caller looks.
  if (!exchange->finished || exchange->finishedAt > deadline) {
    exchange->abandoned = true;
    return std::nullopt;
  }
  return std::move(exchange->response);
}

// Waits between tries; on the interface thread, events keep being processed.
void pauseBeforeTry(int attempt) {
  const auto until = std::chrono::steady_clock::now() + kRetryPause * attempt;
  if (!platform::pumpEventsUntil([] { return false; }, until)) std::this_thread::sleep_until(until);
}

}  // namespace

std::string fetchPage(const std::string& url, const FetchOptions& options) {
  platform::HttpRequest request;
  if (!buildRequest(url, options, request)) return {};
  for (int attempt = 1;; ++attempt) {
    std::optional<platform::HttpResponse> response = fetchOnce(request, options);
    if (!response) {
      if (options.rawHeadersOut) options.rawHeadersOut->clear();
      return {};
    }
    if (options.rawHeadersOut) *options.rawHeadersOut = response->rawHeaders;
    if (options.retries <= 0) return std::move(response->body);
    if (response->complete) return std::move(response->body);
    if (attempt > options.retries) return {};
    pauseBeforeTry(attempt);
  }
}

std::string pageText(std::string_view body) { return platform::utf8ToGbk(body.substr(0, body.find('\0'))); }

std::string urlHost(std::string_view url, bool keepPort) {
  const std::size_t scheme = url.find("http://");
  const std::size_t begin = scheme == std::string_view::npos ? 0 : scheme + 7;
  std::string_view host = url.substr(std::min(begin, url.size()));
  host = host.substr(0, host.find('/'));
  if (!keepPort) host = host.substr(0, host.find(':'));
  return toLower(host);
}

std::string urlPath(std::string_view url) {
  const int hostAt = findText(url, urlHost(url, false), 1, true);
  const std::size_t from = hostAt > 0 ? static_cast<std::size_t>(hostAt - 1) : 0;
  const std::size_t slash = url.find('/', from);
  return slash == std::string_view::npos ? std::string("/") : std::string(url.substr(slash));
}

int urlPort(std::string_view url) {
  const std::string host = urlHost(url, true);
  const std::size_t colon = host.find(':');
  if (colon == std::string::npos) return 80;
  int port = 0;
  for (std::size_t i = colon + 1; i < host.size() && host[i] >= '0' && host[i] <= '9'; ++i) {
    port = port * 10 + (host[i] - '0');
    if (port > 65535) return 0;
  }
  return port;
}

}  // namespace net
