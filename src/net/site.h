#pragma once
// Where the directory site lives. Both values are configuration, handed to
// the system when it is built, so tests can point it at a site of their own.

#include <string>

namespace net {

struct Site {
  std::string searchHost;  // host[:port] of the company search
  std::string shopDomain;  // "." domain[:port]; a shop host is ID + shopDomain
};

}  // namespace net
