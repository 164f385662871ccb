#pragma once
// The stand-in directory site: one HTTP server on 127.0.0.1 that answers as
// the search host and as every company's shop host, told apart by Host.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "catalogue.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace site {

struct SiteOptions {
  std::uint64_t seed = 1;
  std::map<std::string, int> pinnedCounts;  // keyword (UTF-8) -> listings
  std::set<std::string> withoutToken;       // keywords whose probe page holds no token
  int latencyMs = 0;
  int jitterMs = 0;
  bool busy = false;
  double failRate = 0;
  double stallRate = 0;
  int stallMs = 120'000;  // how long a stalled answer waits before it gives up itself
  std::string logPath;
};

inline constexpr const char* kShopSuffix = ".shop.localhost";

class DirectorySite {
 public:
  explicit DirectorySite(SiteOptions options);
  DirectorySite(const DirectorySite&) = delete;
  DirectorySite& operator=(const DirectorySite&) = delete;
  ~DirectorySite();

  // Binds 127.0.0.1:port (0: any free port); returns the port, or -1.
  int bind(int port);
  // Serves until stop(); blocks the calling thread.
  void serve();
  // bind() and serve() on a thread of its own; returns the port, or -1.
  int start(int port);
  void stop();

  int port() const { return port_; }
  const Catalogue& catalogue() const { return catalogue_; }

 private:
  enum class Fault { None, Stall, Reset, ServerError, Truncated, Garbage };

  void handle(const httplib::Request& request, httplib::Response& response);
  void answerSearchHost(const httplib::Request& request, httplib::Response& response);
  void answerShopHost(const std::string& id, const httplib::Request& request, httplib::Response& response);
  Fault drawFault();
  void delay();
  void applyFault(Fault fault, httplib::Response& response);
  void log(const httplib::Request& request, Fault fault);

  SiteOptions options_;
  Catalogue catalogue_;
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = -1;
  int listener_ = -1;
  std::atomic<bool> busy_;
  std::atomic<std::uint64_t> sessions_{0};

  std::mutex randomMutex_;
  std::mt19937_64 random_;

  std::mutex logMutex_;
  std::ofstream log_;

  std::mutex stopMutex_;
  std::condition_variable stopping_;
  bool stopped_ = false;
};

}  // namespace site
