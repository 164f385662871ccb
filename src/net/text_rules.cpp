#include "net/text_rules.h"

#include "platform/codepage.h"

namespace net {
namespace {

bool isLead(char c) { return static_cast<unsigned char>(c) >= 0x80; }

char foldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool matchesAt(std::string_view text, std::size_t at, std::string_view sought, bool ignoreCase) {
  if (text.size() - at < sought.size()) return false;
  for (std::size_t i = 0; i < sought.size(); ++i) {
    const char a = text[at + i];
    const char b = sought[i];
    if (ignoreCase ? foldCase(a) != foldCase(b) : a != b) return false;
  }
  return true;
}

std::size_t characterWidth(std::string_view text, std::size_t at) {
  return (isLead(text[at]) && at + 1 < text.size()) ? 2 : 1;
}

std::string replaceQuotePlaceholder(std::string_view marker) {
  const std::string& placeholder = "#引号"_gbk;
  std::string out;
  std::size_t from = 0;
  for (std::size_t at; (at = marker.find(placeholder, from)) != std::string_view::npos;
       from = at + placeholder.size()) {
    out.append(marker.substr(from, at - from));
    out.push_back('"');
  }
  out.append(marker.substr(from));
  return out;
}

}  // namespace

int findText(std::string_view text, std::string_view sought, int start, bool ignoreCase) {
  const std::size_t first = start > 1 ? static_cast<std::size_t>(start - 1) : 0;
  // Character boundaries are counted from the text's start, wherever the
  // search begins.
  for (std::size_t at = 0; at <= text.size(); at += characterWidth(text, at)) {
    if (at >= first && matchesAt(text, at, sought, ignoreCase)) return static_cast<int>(at + 1);
    if (at == text.size()) break;
  }
  return -1;
}

std::string textBetween(std::string_view source, std::string_view leftMarker, std::string_view rightMarker, int start,
                        bool caseSensitive) {
  const std::string left = replaceQuotePlaceholder(leftMarker);
  const std::string right = replaceQuotePlaceholder(rightMarker);
  const int leftAt = findText(source, left, start, !caseSensitive);
  if (leftAt < 0) return {};
  const int p = leftAt + static_cast<int>(left.size());
  const int rightAt = findText(source, right, p, !caseSensitive);
  if (rightAt < 0) return {};
  return std::string(source.substr(static_cast<std::size_t>(p - 1), static_cast<std::size_t>(rightAt - p)));
}

std::vector<std::string> splitText(std::string_view source, std::string_view separator) {
  std::vector<std::string> pieces;
  if (source.empty()) return pieces;
  if (separator.empty()) return {std::string(source)};
  std::size_t pieceStart = 0;
  std::size_t at = 0;
  while (at < source.size() && source.size() - at >= separator.size()) {
    if (matchesAt(source, at, separator, false)) {
      pieces.emplace_back(source.substr(pieceStart, at - pieceStart));
      at += separator.size();
      pieceStart = at;
    } else {
      at += characterWidth(source, at);
    }
  }
  if (pieceStart < source.size()) pieces.emplace_back(source.substr(pieceStart));
  return pieces;
}

std::string removeAllSpaces(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t width = characterWidth(text, at);
    const std::string_view character = text.substr(at, width);
    if (character != " " && character != "\xA1\xA1") out.append(character);
    at += width;
  }
  return out;
}

std::string removeText(std::string_view text, std::string_view piece) {
  if (piece.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    if (matchesAt(text, at, piece, false)) {
      at += piece.size();
    } else {
      const std::size_t width = characterWidth(text, at);
      out.append(text.substr(at, width));
      at += width;
    }
  }
  return out;
}

bool isBlank(std::string_view text) { return removeAllSpaces(text).empty(); }

std::string urlEncode(std::string_view text, bool keepUnreserved, bool viaUtf8) {
  const std::string bytes = viaUtf8 ? platform::gbkToUtf8(text) : std::string(text);
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 3);
  for (const char c : bytes) {
    const bool kept =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
    if (keepUnreserved && kept) {
      out.push_back(c);
    } else {
      const auto byte = static_cast<unsigned char>(c);
      out.push_back('%');
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 0x0F]);
    }
  }
  return out;
}

}  // namespace net
