#include "net/fetcher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

#include "local_servers.h"
#include "platform/event_pump.h"

namespace {

using net::FetchOptions;
using net::fetchPage;
using testing_support::HttpServer;
using testing_support::RawServer;
using Clock = std::chrono::steady_clock;

std::string okAnswer(const std::string& body) {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

// The header lines of a raw request, in order, without the request line.
std::vector<std::string> headerLines(const std::string& request) {
  std::vector<std::string> lines;
  std::size_t from = request.find("\r\n") + 2;
  for (std::size_t end; (end = request.find("\r\n", from)) != std::string::npos && end > from; from = end + 2) {
    lines.push_back(request.substr(from, end - from));
  }
  return lines;
}

// A wait of a 1-second limit ends well before this even on a loaded machine,
// and far before the 90 seconds a limit that never counted would take.
constexpr double kFarBeyondTheLimit = 10.0;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

TEST(FetchPage, SilentServerGivesEmptyBytesWithinTheLimit) {
  RawServer silent([](const std::string&) { return std::nullopt; });
  const auto start = Clock::now();
  EXPECT_EQ(fetchPage(silent.url("/"), {.timeoutSeconds = 1}), "");
  const double elapsed = secondsSince(start);
  EXPECT_GE(elapsed, 0.9);
  EXPECT_LT(elapsed, kFarBeyondTheLimit);
}

TEST(FetchPage, InterfaceThreadKeepsProcessingEventsAndStillHonoursTheLimit) {
  RawServer silent([](const std::string&) { return std::nullopt; });
  HttpServer quick([](httplib::Server& s) {
    s.Get("/", [](const httplib::Request&, httplib::Response& r) { r.set_content("quick", "text/plain"); });
  });
  // An interface thread whose events never stop coming: the limit must still
  // count from the start of the fetch.
  std::atomic<int> events{0};
  platform::installEventPump(std::this_thread::get_id(),
                             [&](const std::function<bool()>& done, platform::SteadyTime deadline) {
                               while (!done() && Clock::now() < deadline) {
                                 ++events;
                                 std::this_thread::sleep_for(std::chrono::milliseconds(1));
                               }
                             });
  const auto start = Clock::now();
  EXPECT_EQ(fetchPage(silent.url("/"), {.timeoutSeconds = 1}), "");
  EXPECT_LT(secondsSince(start), kFarBeyondTheLimit);
  EXPECT_GT(events.load(), 10);
  EXPECT_EQ(fetchPage(quick.url("/")), "quick");
  platform::installEventPump({}, nullptr);
}

TEST(FetchPage, AnswerAfterTheLimitIsDiscarded) {
  HttpServer late([](httplib::Server& s) {
    s.Get("/late", [](const httplib::Request&, httplib::Response& r) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1500));
      r.set_content("too late", "text/plain");
    });
  });
  const auto start = Clock::now();
  EXPECT_EQ(fetchPage(late.url("/late"), {.timeoutSeconds = 1}), "");
  EXPECT_LT(secondsSince(start), kFarBeyondTheLimit);
  EXPECT_EQ(fetchPage(late.url("/late"), {.timeoutSeconds = 30}), "too late");
}

TEST(FetchPage, VerbRules) {
  RawServer server([](const std::string& request) { return okAnswer(request.substr(0, request.find(' '))); });
  struct Case {
    std::string verb, expected;
  };
  const Case cases[] = {{"", "GET"}, {"GET", "GET"}, {"get", "GET"}, {"Post", "POST"}, {"post", "POST"}, {"PUT", ""}};
  for (const Case& c : cases) {
    EXPECT_EQ(fetchPage(server.url("/v"), {.verb = c.verb, .postData = "x=1"}), c.expected) << c.verb;
  }
  EXPECT_EQ(server.requests().size(), 5U) << "PUT must not reach the server";
}

TEST(FetchPage, HeaderDefaultsInTheirOrder) {
  RawServer server([](const std::string&) { return okAnswer("ok"); });
  const std::string url = server.url("/page?a=1");
  ASSERT_EQ(fetchPage(url), "ok");
  ASSERT_EQ(fetchPage(url, {.headers = "accept: text/html\r\nX-Mine: 1\r\n"}), "ok");
  ASSERT_EQ(fetchPage(url, {.verb = "POST", .headers = "Content-Length: 99\r\n", .postData = "a=b"}), "ok");
  const std::vector<std::string> requests = server.requests();
  ASSERT_EQ(requests.size(), 3U);

  const std::string accept =
      "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
      "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*";
  const std::string referer = "Referer: " + url;
  const std::string language = "Accept-Language: zh-cn";
  auto tail = [](const std::string& request, std::size_t n) {
    const std::vector<std::string> lines = headerLines(request);
    return std::vector<std::string>(lines.end() - static_cast<long>(std::min(n, lines.size())), lines.end());
  };
  EXPECT_EQ(tail(requests[0], 3), (std::vector<std::string>{accept, referer, language}));
  EXPECT_EQ(tail(requests[1], 4), (std::vector<std::string>{"accept: text/html", "X-Mine: 1", referer, language}));
  EXPECT_EQ(tail(requests[2], 6),
            (std::vector<std::string>{"Content-Length: 99", accept, referer, language,
                                      "Content-Type: application/x-www-form-urlencoded", "Content-Length: 3"}));
  EXPECT_TRUE(requests[0].starts_with("GET /page?a=1 HTTP/1.1\r\n"));
  EXPECT_NE(requests[0].find("User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"), std::string::npos);
}

TEST(FetchPage, UpperCaseHostWithPortAndQuery) {
  RawServer server([](const std::string&) { return okAnswer("ok"); });
  const std::string port = std::to_string(server.port());
  ASSERT_EQ(fetchPage("http://LOCALHOST:" + port + "/Path/x?Q=AB"), "ok");
  const std::string request = server.requests().at(0);
  EXPECT_TRUE(request.starts_with("GET /Path/x?Q=AB HTTP/1.1\r\n")) << request;
  EXPECT_NE(request.find("Host: localhost:" + port + "\r\n"), std::string::npos) << request;
}

TEST(UrlParts, HostPathAndPort) {
  struct Case {
    std::string url, host, hostWithPort, path;
    int port;
  };
  const Case cases[] = {
      {"http://WWW.Example.COM:8080/a/b?c=D", "www.example.com", "www.example.com:8080", "/a/b?c=D", 8080},
      {"http://Example.com", "example.com", "example.com", "/", 80},
      {"example.com/x", "example.com", "example.com", "/x", 80},
      {"HTTP://a.b/x", "http", "http:", "//a.b/x", 0},
      {"http://a.b:xy/", "a.b", "a.b:xy", "/", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(net::urlHost(c.url, false), c.host) << c.url;
    EXPECT_EQ(net::urlHost(c.url, true), c.hostWithPort) << c.url;
    EXPECT_EQ(net::urlPath(c.url), c.path) << c.url;
    EXPECT_EQ(net::urlPort(c.url), c.port) << c.url;
  }
}

TEST(FetchPage, CookiesGoBackToTheHostThatSetThem) {
  HttpServer server([](httplib::Server& s) {
    s.Get("/set", [](const httplib::Request&, httplib::Response& r) {
      // A header block far over 1 KB must not lose the cookie.
      r.set_header("X-Padding", std::string(3000, 'p'));
      r.set_header("Set-Cookie", "sid=abc123; Path=/");
      r.set_content("set", "text/plain");
    });
    s.Get("/hop", [](const httplib::Request&, httplib::Response& r) {
      r.set_header("Set-Cookie", "hop=1; Path=/");
      r.set_redirect("/echo");
    });
    s.Get("/echo", [](const httplib::Request& q, httplib::Response& r) {
      r.set_content(q.get_header_value("Cookie"), "text/plain");
    });
  });
  const std::string port = std::to_string(server.port());
  ASSERT_EQ(fetchPage("http://cookies.localhost:" + port + "/set"), "set");
  EXPECT_EQ(fetchPage("http://cookies.localhost:" + port + "/echo"), "sid=abc123");
  // A cookie set by a redirecting answer is kept too.
  const std::string both = fetchPage("http://cookies.localhost:" + port + "/hop");
  EXPECT_TRUE(both == "sid=abc123; hop=1" || both == "hop=1; sid=abc123") << both;
  EXPECT_EQ(fetchPage("http://other.localhost:" + port + "/echo"), "");
}

TEST(FetchPage, BodiesComeBackWhole) {
  std::string big(100 * 1024, 'x');
  for (std::size_t i = 0; i < big.size(); i += 97) big[i] = static_cast<char>('a' + i % 26);
  const std::string zero("before\0after", 12);
  HttpServer server([&](httplib::Server& s) {
    s.Get("/big", [&](const httplib::Request&, httplib::Response& r) { r.set_content(big, "text/plain"); });
    s.Get("/zero", [&](const httplib::Request&, httplib::Response& r) { r.set_content(zero, "text/plain"); });
    s.Get("/missing", [](const httplib::Request&, httplib::Response& r) {
      r.status = 404;
      r.set_content("not here", "text/plain");
    });
  });
  EXPECT_EQ(fetchPage(server.url("/big")), big);
  const std::string body = fetchPage(server.url("/zero"));
  EXPECT_EQ(body, zero);
  EXPECT_EQ(net::pageText(body), "before");
  std::string headers;
  EXPECT_EQ(fetchPage(server.url("/missing"), {.rawHeadersOut = &headers}), "not here");
  EXPECT_TRUE(headers.starts_with("HTTP/1.1 404 Not Found\r\n")) << headers;
}

TEST(FetchPage, NamedProxyAndBlankProxy) {
  RawServer proxy(
      [](const std::string& request) { return okAnswer("via proxy: " + request.substr(0, request.find("\r\n"))); });
  RawServer direct([](const std::string&) { return okAnswer("direct"); });
  const std::string proxyAddress = "127.0.0.1:" + std::to_string(proxy.port());
  EXPECT_EQ(fetchPage("http://far.example:81/x?y=1", {.proxy = proxyAddress}),
            "via proxy: GET http://far.example:81/x?y=1 HTTP/1.1");
  EXPECT_EQ(fetchPage(direct.url("/"), {.proxy = "   "}), "direct");
}

TEST(FetchPage, FiftyFetchesAtOnce) {
  HttpServer server([](httplib::Server& s) {
    s.Get(R"(/n/(\d+))", [](const httplib::Request& q, httplib::Response& r) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      r.set_content("page " + q.matches[1].str(), "text/plain");
    });
  });
  std::vector<std::future<std::string>> fetches;
  for (int i = 0; i < 50; ++i) {
    fetches.push_back(
        std::async(std::launch::async, [&server, i] { return fetchPage(server.url("/n/" + std::to_string(i))); }));
  }
  for (int i = 0; i < 50; ++i) EXPECT_EQ(fetches[static_cast<std::size_t>(i)].get(), "page " + std::to_string(i));
}

TEST(FetchPage, RetriesAnIncompleteAnswerButNeverACompleteOneOrATimeOut) {
  const std::string cut = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly part";
  const std::string failed = "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 6\r\n\r\nfailed";
  struct Case {
    const char* what;
    std::vector<std::optional<std::string>> answers;  // one per request; nothing: silent until the limit
    int retries;
    std::string body;
    std::size_t requests;
  };
  const Case cases[] = {
      {"cut short, then whole", {cut, okAnswer("whole")}, 2, "whole", 2},
      {"two server errors, then whole", {failed, failed, okAnswer("whole")}, 2, "whole", 3},
      {"incomplete to the last try", {failed, cut, failed}, 2, "", 3},
      {"a complete answer is fetched once", {okAnswer("whole")}, 2, "whole", 1},
      {"a time-out is not tried again", {std::nullopt}, 2, "", 1},
      {"without retries, whatever arrived", {cut}, 0, "only part", 1},
      {"without retries, the status is not examined", {failed}, 0, "failed", 1},
  };
  for (const Case& c : cases) {
    std::atomic<std::size_t> next{0};
    RawServer server([&](const std::string&) {
      const std::size_t k = next++;
      return k < c.answers.size() ? c.answers[k] : std::optional<std::string>(okAnswer("extra"));
    });
    EXPECT_EQ(fetchPage(server.url("/"), {.timeoutSeconds = 1, .retries = c.retries}), c.body) << c.what;
    EXPECT_EQ(server.requests().size(), c.requests) << c.what;
  }
}

TEST(FetchPage, AnAnswerInTimeCountsHoweverLateTheInterfaceThreadLooks) {
  HttpServer quick([](httplib::Server& s) {
    s.Get("/", [](const httplib::Request&, httplib::Response& r) { r.set_content("in time", "text/plain"); });
  });
  // A handler that runs for two seconds while the fetch of a one-second limit
  // waits: the answer came long before the limit.
  platform::installEventPump(std::this_thread::get_id(), [](const std::function<bool()>&, platform::SteadyTime) {
    std::this_thread::sleep_for(std::chrono::seconds(2));
  });
  EXPECT_EQ(fetchPage(quick.url("/"), {.timeoutSeconds = 1}), "in time");
  platform::installEventPump({}, nullptr);
}

}  // namespace
