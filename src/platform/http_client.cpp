#include "platform/http_client.h"

#include <curl/curl.h>

#include <array>
#include <memory>
#include <mutex>

namespace platform {
namespace {

// The process-wide cookie store: a curl share handle whose cookie data is
// guarded by its own lock.
class SharedCookies {
 public:
  SharedCookies() {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    share_ = curl_share_init();
    curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &SharedCookies::lock);
    curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &SharedCookies::unlock);
    curl_share_setopt(share_, CURLSHOPT_USERDATA, this);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
  }
  SharedCookies(const SharedCookies&) = delete;
  SharedCookies& operator=(const SharedCookies&) = delete;
  // Lives until the process ends: abandoned exchanges may still use it.
  ~SharedCookies() = default;

  CURLSH* handle() const { return share_; }

  static SharedCookies& instance() {
    static auto* cookies = new SharedCookies;
    return *cookies;
  }

 private:
  static void lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
    static_cast<SharedCookies*>(self)->mutexes_.at(static_cast<std::size_t>(data)).lock();
  }
  static void unlock(CURL*, curl_lock_data data, void* self) {
    static_cast<SharedCookies*>(self)->mutexes_.at(static_cast<std::size_t>(data)).unlock();
  }

  CURLSH* share_ = nullptr;
  std::array<std::mutex, CURL_LOCK_DATA_LAST> mutexes_;
};

struct Transfer {
  HttpResponse response;
  const std::atomic<bool>* cancel = nullptr;
};

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user) {
  static_cast<Transfer*>(user)->response.body.append(data, size * count);
  return size * count;
}

std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* user) {
  std::string& headers = static_cast<Transfer*>(user)->response.rawHeaders;
  const std::string_view line(data, size * count);
  // Each answer of a redirect chain starts again; the last one is kept.
  if (line.starts_with("HTTP/")) headers.clear();
  headers.append(line);
  return size * count;
}

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<Transfer*>(user)->cancel->load() ? 1 : 0;
}

struct HeaderList {
  curl_slist* list = nullptr;
  ~HeaderList() { curl_slist_free_all(list); }
  void add(const std::string& line) { list = curl_slist_append(list, line.c_str()); }
};

}  // namespace

HttpResponse performHttp(const HttpRequest& request, const std::atomic<bool>& cancel) {
  Transfer transfer;
  transfer.cancel = &cancel;
  CURLSH* share = SharedCookies::instance().handle();
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
  if (!curl) return {};
  CURL* h = curl.get();

  const int port = request.port > 0 ? request.port : 80;
  const std::string url = "http://" + request.host + ":" + std::to_string(port) + request.path;
  curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  curl_easy_setopt(h, CURLOPT_SHARE, share);
  curl_easy_setopt(h, CURLOPT_COOKIEFILE, "");
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(h, CURLOPT_USERAGENT, request.userAgent.c_str());
  // An empty proxy text also keeps curl from taking one from the environment.
  curl_easy_setopt(h, CURLOPT_PROXY, request.proxy.c_str());
  if (!request.user.empty()) curl_easy_setopt(h, CURLOPT_USERNAME, request.user.c_str());
  if (!request.password.empty()) curl_easy_setopt(h, CURLOPT_PASSWORD, request.password.c_str());
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &onBody);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &onHeader);
  curl_easy_setopt(h, CURLOPT_HEADERDATA, &transfer);
  curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &onProgress);
  curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);
  curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);

  HeaderList headers;
  for (std::size_t from = 0; from < request.headers.size();) {
    std::size_t end = request.headers.find("\r\n", from);
    if (end == std::string::npos) end = request.headers.size();
    if (end > from) headers.add(request.headers.substr(from, end - from));
    from = end + 2;
  }
  // The caller's headers are the whole story: no "Expect: 100-continue".
  headers.add("Expect:");
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.list);

  if (request.verb == "POST") {
    if (request.body.empty()) {
      curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, "POST");
    } else {
      curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
      curl_easy_setopt(h, CURLOPT_POSTFIELDS, request.body.data());
    }
  }

  const CURLcode result = curl_easy_perform(h);
  long status = 0;
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
  transfer.response.complete = result == CURLE_OK && status < 500;
  return std::move(transfer.response);
}

}  // namespace platform
