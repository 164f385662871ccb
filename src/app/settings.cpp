#include "app/settings.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace app {

double numberOf(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  std::size_t end = i;
  if (end < text.size() && (text[end] == '-' || text[end] == '+')) ++end;
  const std::size_t digitsFrom = end;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  bool digits = end > digitsFrom;
  if (end < text.size() && text[end] == '.') {
    const std::size_t fractionFrom = ++end;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    digits = digits || end > fractionFrom;
  }
  if (!digits) return 0;
  return std::strtod(text.substr(i, end - i).c_str(), nullptr);
}

std::int32_t truncated(double number) {
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(std::trunc(std::clamp(number, kMin, kMax)));
}

}  // namespace app
