#pragma once
// The text rules every parser reads pages with. Texts are GBK byte strings: a
// byte of 0x80 or above begins a two-byte character, and a match may begin
// only where a character begins. Positions count bytes from 1.

#include <string>
#include <string_view>
#include <vector>

namespace net {

// Position of the first match of sought that begins at or after start, or -1.
// With ignoreCase, A-Z equal a-z on every byte, trail bytes included.
int findText(std::string_view text, std::string_view sought, int start = 1, bool ignoreCase = false);

// The text between the first leftMarker (sought from start) and the next
// rightMarker after it; empty when either is missing. "#引号" in a marker
// stands for a double quote. Letter case is ignored unless caseSensitive.
std::string textBetween(std::string_view source, std::string_view leftMarker, std::string_view rightMarker,
                        int start = 1, bool caseSensitive = false);

// The pieces between the separators: an empty piece where separators meet or
// the source begins with one, no empty last piece, none for an empty source.
std::vector<std::string> splitText(std::string_view source, std::string_view separator);

// Removes every ASCII space and every full-width space (A1 A1).
std::string removeAllSpaces(std::string_view text);

// Removes every occurrence of piece, matched exactly where a character begins.
std::string removeText(std::string_view text, std::string_view piece);

// A text is blank when nothing but spaces is in it.
bool isBlank(std::string_view text);

// Percent-encodes text, converted to UTF-8 first when viaUtf8. With
// keepUnreserved, A-Z a-z 0-9 "-" "." stay as they are.
std::string urlEncode(std::string_view text, bool keepUnreserved, bool viaUtf8);

}  // namespace net
