#pragma once
// Servers on 127.0.0.1 and an ephemeral port, for tests that need a peer.

#include <httplib.h>

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

// A cpp-httplib server, set up by the caller before it starts listening.
class HttpServer {
 public:
  explicit HttpServer(const std::function<void(httplib::Server&)>& setUp) {
    setUp(server_);
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;
  ~HttpServer() {
    server_.stop();
    thread_.join();
  }

  int port() const { return port_; }
  std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
};

// A plain TCP server that records each request exactly as it arrives (head and
// Content-Length body) and answers with whatever `answer` returns; nullopt
// keeps the connection open and silent until the server ends.
class RawServer {
 public:
  using Answer = std::function<std::optional<std::string>(const std::string& request)>;

  explicit RawServer(Answer answer);
  RawServer(const RawServer&) = delete;
  RawServer& operator=(const RawServer&) = delete;
  ~RawServer();

  int port() const { return port_; }
  std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
  std::vector<std::string> requests() const;

 private:
  void serve(int connection);

  Answer answer_;
  int listener_ = -1;
  int port_ = 0;
  std::thread acceptor_;
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::vector<int> connections_;
  std::vector<std::thread> workers_;
};

}  // namespace testing_support
