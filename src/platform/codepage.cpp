#include "platform/codepage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <mutex>
#include <vector>
#include <stdexcept>

namespace platform {
namespace {

std::string charsetOf(int codePage) {
  if (codePage == kCodePageUtf8) return "UTF-8";
  return "CP" + std::to_string(codePage);
}

std::string_view upToZero(std::string_view text) { return text.substr(0, text.find('\0')); }

std::string_view upToZeroUnit(std::string_view wide) {
  for (std::size_t i = 0; i + 1 < wide.size(); i += 2) {
    if (wide[i] == '\0' && wide[i + 1] == '\0') return wide.substr(0, i);
  }
  return wide.substr(0, wide.size() & ~std::size_t{1});
}

// Bytes to pass over where a sequence cannot be converted.
using SkipRule = std::size_t (*)(std::string_view rest);

std::size_t skipOneByte(std::string_view) { return 1; }

// A UTF-16 unit is two bytes; a surrogate pair goes as a whole.
std::size_t skipOneCharacter(std::string_view rest) {
  if (rest.size() >= 4) {
    const unsigned high = static_cast<unsigned char>(rest[1]);
    if (high >= 0xD8 && high <= 0xDB) return 4;
  }
  return 2;
}

// Conversion descriptors, kept for reuse and never closed: opening one for
// every page would load and unload the charset modules again and again.
class Descriptors {
 public:
  using Key = std::pair<std::string, std::string>;

  iconv_t acquire(const Key& key) {
    {
      const std::lock_guard lock(mutex_);
      std::vector<iconv_t>& idle = idle_[key];
      if (!idle.empty()) {
        iconv_t cd = idle.back();
        idle.pop_back();
        return cd;
      }
    }
    iconv_t cd = iconv_open(key.first.c_str(), key.second.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error("iconv cannot convert " + key.second + " to " + key.first);
    }
    return cd;
  }
  void release(const Key& key, iconv_t cd) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    const std::lock_guard lock(mutex_);
    idle_[key].push_back(cd);
  }
  static Descriptors& instance() {
    static auto* descriptors = new Descriptors;
    return *descriptors;
  }

 private:
  std::mutex mutex_;
  std::map<Key, std::vector<iconv_t>> idle_;
};

// Converts all of input; where a sequence cannot be converted, skips it by the
// rule and writes replacement instead, so a conversion never fails.
std::string convert(const std::string& to, const std::string& from, std::string_view input, SkipRule skip,
                    std::string_view replacement) {
  const Descriptors::Key key{to, from};
  iconv_t cd = Descriptors::instance().acquire(key);
  std::string out;
  out.reserve(input.size() * 2 + 4);
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    const std::size_t rc = iconv(cd, &in, &inLeft, &dst, &dstLeft);
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    if (rc != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    const std::size_t n = std::min(skip(std::string_view(in, inLeft)), inLeft);
    in += n;
    inLeft -= n;
    out.append(replacement);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  Descriptors::instance().release(key, cd);
  return out;
}

}  // namespace

std::string toWide(std::string_view text, int codePage, bool useCodePage) {
  const std::string from = useCodePage ? charsetOf(codePage) : charsetOf(kCodePageUtf8);
  // U+FFFD, little-endian, for each byte that does not decode.
  std::string wide = convert("UTF-16LE", from, upToZero(text), skipOneByte, std::string_view("\xFD\xFF", 2));
  wide.append(2, '\0');
  return wide;
}

std::string fromWide(std::string_view wide, int codePage, bool useCodePage) {
  const std::string to = charsetOf(useCodePage ? codePage : kCodePageGbk);
  return convert(to, "UTF-16LE", upToZeroUnit(wide), skipOneCharacter, "?");
}

std::string utf8ToGbk(std::string_view text) {
  return fromWide(toWide(text, kCodePageUtf8, false), kCodePageGbk, true);
}

std::string gbkToUtf8(std::string_view text) { return fromWide(toWide(text, kCodePageGbk, true), kCodePageUtf8, true); }

}  // namespace platform
