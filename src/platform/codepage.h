#pragma once
// Code-page conversions. The whole system works in GBK (code page 936); the
// site speaks UTF-8. Texts are byte strings; wide texts are UTF-16LE bytes
// ending in a zero unit.

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

inline constexpr int kCodePageGbk = 936;
inline constexpr int kCodePageUtf8 = 65001;

// Decodes text (up to its first zero byte) into UTF-16LE with a zero unit at
// the end. With useCodePage false the text is read as UTF-8. Invalid input
// bytes become U+FFFD; the result is always complete.
std::string toWide(std::string_view text, int codePage, bool useCodePage);

// Encodes UTF-16LE (up to its first zero unit) into the code page, or GBK (the
// system's ANSI code page) when useCodePage is false. A character the code
// page lacks becomes "?".
std::string fromWide(std::string_view wide, int codePage, bool useCodePage);

std::string utf8ToGbk(std::string_view text);
std::string gbkToUtf8(std::string_view text);

// Fixed-size holder for a string literal, so that a literal can be a template
// argument.
template <std::size_t N>
struct Utf8Literal {
  char value[N];
  // NOLINTNEXTLINE(google-explicit-constructor): converts from a literal on purpose
  constexpr Utf8Literal(const char (&text)[N]) {
    for (std::size_t i = 0; i < N; ++i) value[i] = text[i];
  }
};

}  // namespace platform

// "公司"_gbk: the GBK bytes of a UTF-8 source literal, converted once per
// distinct literal. Never destroyed: threads nobody joins may still read it
// while the process ends.
template <platform::Utf8Literal L>
const std::string& operator""_gbk() {
  static const std::string* const converted = new std::string(platform::utf8ToGbk(L.value));
  return *converted;
}
