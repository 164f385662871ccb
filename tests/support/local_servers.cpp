#include "local_servers.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace testing_support {

RawServer::RawServer(Answer answer) : answer_(std::move(answer)) {
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(listener_, 64) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("RawServer: cannot listen");
  }
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] {
    for (;;) {
      const int connection = ::accept(listener_, nullptr, nullptr);
      if (connection < 0) return;
      const std::lock_guard lock(mutex_);
      connections_.push_back(connection);
      workers_.emplace_back([this, connection] { serve(connection); });
    }
  });
}

RawServer::~RawServer() {
  ::shutdown(listener_, SHUT_RDWR);
  ::close(listener_);
  acceptor_.join();
  const std::lock_guard lock(mutex_);
  for (const int connection : connections_) ::shutdown(connection, SHUT_RDWR);
  for (std::thread& worker : workers_) worker.join();
  for (const int connection : connections_) ::close(connection);
}

std::vector<std::string> RawServer::requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

void RawServer::serve(int connection) {
  std::string request;
  char buffer[4096];
  std::size_t wanted = std::string::npos;
  while (wanted == std::string::npos || request.size() < wanted) {
    const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    request.append(buffer, static_cast<std::size_t>(n));
    const std::size_t headEnd = request.find("\r\n\r\n");
    if (wanted == std::string::npos && headEnd != std::string::npos) {
      std::size_t bodyLength = 0;
      // Of several Content-Length lines the last one counts.
      const std::size_t field = request.rfind("Content-Length: ", headEnd);
      if (field != std::string::npos && field < headEnd)
        bodyLength = std::strtoul(request.c_str() + field + 16, nullptr, 10);
      wanted = headEnd + 4 + bodyLength;
    }
  }
  {
    const std::lock_guard lock(mutex_);
    requests_.push_back(request);
  }
  const std::optional<std::string> reply = answer_(request);
  if (!reply) {
    while (::recv(connection, buffer, sizeof buffer, 0) > 0) {
    }
    return;
  }
  ::send(connection, reply->data(), reply->size(), MSG_NOSIGNAL);
  ::shutdown(connection, SHUT_WR);
}

}  // namespace testing_support
