#include "server.h"

#include <httplib.h>

#include <iconv.h>
#include <sys/socket.h>

#include <chrono>

#include "pages.h"

namespace site {
namespace {

constexpr const char* kHtml = "text/html; charset=utf-8";
constexpr std::size_t kServerThreads = 400;

std::string lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

bool validUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || i + n > text.size()) return false;
    for (std::size_t k = 1; k < n; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) >> 6) != 0x2) return false;
    }
    i += n;
  }
  return true;
}

// GBK bytes as UTF-8; what does not convert is left out.
std::string gbkToUtf8(const std::string& gbk) {
  iconv_t cd = iconv_open("UTF-8", "CP936");
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string out(gbk.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(gbk.data());
  std::size_t inLeft = gbk.size();
  char* to = out.data();
  std::size_t outLeft = out.size();
  while (inLeft > 0 && iconv(cd, &in, &inLeft, &to, &outLeft) == static_cast<std::size_t>(-1)) {
    ++in;  // skip a byte that is no GBK
    --inLeft;
  }
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

// A keyword as a query carries it: percent-encoded UTF-8, or raw GBK bytes.
std::string keywordOf(const httplib::Request& request, const char* key) {
  const std::string value = request.get_param_value(key);
  return validUtf8(value) ? value : gbkToUtf8(value);
}

Criteria criteriaOf(const httplib::Request& request) {
  return {request.get_param_value("province"), request.get_param_value("city"),   request.get_param_value("busmode"),
          request.get_param_value("is_v"),     request.get_param_value("employ"), request.get_param_value("annulsale"),
          request.get_param_value("cateid")};
}

int pageOf(const httplib::Request& request) {
  const std::string text = request.get_param_value("page");
  if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
  return std::stoi(text);
}

std::string hostOf(const httplib::Request& request) {
  const std::string host = lower(request.get_header_value("Host"));
  return host.substr(0, host.find(':'));
}

const char* faultName(int fault) {
  static constexpr const char* kNames[] = {"-", "stall", "reset", "500", "truncated", "garbage"};
  return kNames[fault];
}

}  // namespace

DirectorySite::DirectorySite(SiteOptions options)
    : options_(std::move(options)),
      catalogue_(options_.seed, options_.pinnedCounts, options_.withoutToken),
      server_(std::make_unique<httplib::Server>()),
      busy_(options_.busy),
      random_(options_.seed) {
  if (!options_.logPath.empty()) log_.open(options_.logPath, std::ios::app | std::ios::binary);
  server_->new_task_queue = [] { return new httplib::ThreadPool(kServerThreads); };
  server_->set_keep_alive_max_count(1000);
  // Headers and body go out in separate writes; without this each answer
  // waits for a delayed ACK.
  server_->set_tcp_nodelay(true);
  // The library listens with a backlog of 5, which drops connections in a
  // burst; the listening socket is kept so that bind() can widen it.
  server_->set_socket_options([this](int socket) {
    const int on = 1;
    ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    listener_ = socket;
  });
  server_->Get(".*", [this](const httplib::Request& q, httplib::Response& r) { handle(q, r); });
}

DirectorySite::~DirectorySite() {
  stop();
  if (thread_.joinable()) thread_.join();
}

int DirectorySite::bind(int port) {
  port_ = port == 0 ? server_->bind_to_any_port("127.0.0.1") : (server_->bind_to_port("127.0.0.1", port) ? port : -1);
  if (port_ > 0) ::listen(listener_, SOMAXCONN);
  return port_;
}

void DirectorySite::serve() { server_->listen_after_bind(); }

int DirectorySite::start(int port) {
  if (bind(port) < 0) return -1;
  thread_ = std::thread([this] { serve(); });
  while (!server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return port_;
}

void DirectorySite::stop() {
  {
    const std::lock_guard lock(stopMutex_);
    stopped_ = true;
  }
  stopping_.notify_all();
  server_->stop();
}

void DirectorySite::handle(const httplib::Request& request, httplib::Response& response) {
  const std::string host = hostOf(request);
  const bool shop = host.size() > std::string_view(kShopSuffix).size() && host.ends_with(kShopSuffix);
  if (!shop && request.path == "/__control") {
    if (request.has_param("busy")) busy_ = request.get_param_value("busy") == "1";
    response.set_content(busy_ ? "busy\n" : "answering\n", "text/plain");
    log(request, Fault::None);
    return;
  }
  delay();
  const Fault fault = drawFault();
  log(request, fault);
  if (fault == Fault::Stall) {
    std::unique_lock lock(stopMutex_);
    stopping_.wait_for(lock, std::chrono::milliseconds(options_.stallMs), [this] { return stopped_; });
  }
  if (shop) {
    answerShopHost(host.substr(0, host.size() - std::string_view(kShopSuffix).size()), request, response);
  } else {
    answerSearchHost(request, response);
  }
  applyFault(fault, response);
}

void DirectorySite::answerSearchHost(const httplib::Request& request, httplib::Response& response) {
  if (request.get_header_value("Cookie").find("sid=") == std::string::npos) {
    response.set_header("Set-Cookie", "sid=" + std::to_string(++sessions_) + "; Path=/");
  }
  const std::string& path = request.path;
  const bool search = path == "/search" || path == "/search-s" || (path.starts_with("/s-") && path.ends_with(".html"));
  if (!search) {
    response.status = 404;
    response.set_content(notFoundPage(), kHtml);
    return;
  }
  if (busy_) {
    response.set_content(busyPage(), kHtml);
    return;
  }
  PageContext context;
  context.shopDomain = std::string(kShopSuffix).substr(1) + ":" + std::to_string(port_);
  if (path == "/search") {
    context.keyword = keywordOf(request, "wd");
    const std::optional<std::string> token = catalogue_.tokenOf(context.keyword);
    if (!token) {
      response.set_content(noTokenPage(context.keyword), kHtml);
      return;
    }
    context.token = *token;
    response.set_content(probePage(context, catalogue_.categories(context.keyword)), kHtml);
    return;
  }
  if (path == "/search-s") {
    context.keyword = keywordOf(request, "wd");
    const std::vector<Listing> listings = catalogue_.page(context.keyword, criteriaOf(request), pageOf(request));
    response.set_content(listingForm2(context, listings), kHtml);
    return;
  }
  context.token = path.substr(3, path.size() - 3 - 5);
  const std::optional<std::string> keyword = Catalogue::keywordOfToken(context.token);
  if (!keyword) {
    response.status = 404;
    response.set_content(notFoundPage(), kHtml);
    return;
  }
  context.keyword = *keyword;
  const Criteria criteria = criteriaOf(request);
  response.set_content(listingForm1(context, catalogue_.resultCount(context.keyword, criteria),
                                    catalogue_.page(context.keyword, criteria, pageOf(request))),
                       kHtml);
}

void DirectorySite::answerShopHost(const std::string& id, const httplib::Request& request,
                                   httplib::Response& response) {
  const std::optional<Company> company = catalogue_.companyById(id);
  if (!company || request.path != "/contact.html") {
    response.status = 404;
    response.set_content(notFoundPage(), kHtml);
    return;
  }
  const std::string searchHost = "search.localhost:" + std::to_string(port_);
  response.set_content(contactPage(*company, searchHost), kHtml);
}

DirectorySite::Fault DirectorySite::drawFault() {
  if (options_.failRate <= 0 && options_.stallRate <= 0) return Fault::None;
  const std::lock_guard lock(randomMutex_);
  std::uniform_real_distribution<double> share(0.0, 1.0);
  const double roll = share(random_);
  if (roll < options_.stallRate) return Fault::Stall;
  if (roll < options_.stallRate + options_.failRate) {
    static constexpr Fault kFailures[] = {Fault::Reset, Fault::ServerError, Fault::Truncated, Fault::Garbage};
    return kFailures[random_() % 4];
  }
  return Fault::None;
}

void DirectorySite::delay() {
  int ms = options_.latencyMs;
  if (options_.jitterMs > 0) {
    const std::lock_guard lock(randomMutex_);
    ms += static_cast<int>(random_() % static_cast<std::uint64_t>(options_.jitterMs + 1));
  }
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void DirectorySite::applyFault(Fault fault, httplib::Response& response) {
  switch (fault) {
    case Fault::None:
    case Fault::Stall:
      return;
    case Fault::ServerError:
      response.status = 500;
      response.set_content("<html><body>500 Internal Server Error</body></html>\n", kHtml);
      return;
    case Fault::Garbage: {
      std::string garbage(1024, '\0');
      const std::lock_guard lock(randomMutex_);
      for (char& c : garbage) c = static_cast<char>(0x80 | (random_() & 0x7F));
      response.set_content(garbage, kHtml);
      return;
    }
    case Fault::Reset:
    case Fault::Truncated: {
      // The header promises the whole body; the connection closes after none
      // or half of it.
      auto body = std::make_shared<std::string>(response.body);
      const std::size_t sent = fault == Fault::Reset ? 0 : body->size() / 2;
      response.body.clear();
      response.set_content_provider(body->size(), kHtml,
                                    [body, sent](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                      if (offset < sent) sink.write(body->data() + offset, sent - offset);
                                      return false;
                                    });
      return;
    }
  }
}

void DirectorySite::log(const httplib::Request& request, Fault fault) {
  if (!log_.is_open()) return;
  const std::lock_guard lock(logMutex_);
  log_ << request.get_header_value("Host") << '\t' << request.target << '\t' << request.get_header_value("Cookie")
       << '\t' << faultName(static_cast<int>(fault)) << '\n';
  log_.flush();
}

}  // namespace site
