// Code page 1251 <-> UTF-8. The core keeps every text as 1251 bytes, as the
// model file stores them; conversion happens only at the Qt boundary and in
// the command line's output. The one byte without a character (0x98) maps
// to U+0098 and back, so every byte string survives a round trip.
#pragma once
#include <string>
#include <string_view>

std::string Cp1251ToUtf8(std::string_view bytes);
// One code point, as UTF-8, onto out.
void AppendUtf8(std::string& out, char32_t cp);
// Decodes one UTF-8 sequence at s[i] and moves i past it; false, with i
// unmoved, when it is malformed.
bool DecodeUtf8(std::string_view s, size_t& i, char32_t& cp);
// False when the text is not valid UTF-8 or holds a character 1251 lacks.
bool Utf8ToCp1251(std::string_view utf8, std::string& out);
// As above, but every unrepresentable character becomes '?'.
std::string Utf8ToCp1251Lossy(std::string_view utf8);
