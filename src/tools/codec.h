#pragma once
// Text is UTF-8 in memory and Windows-1252 on disk (data files, grid files);
// these convert at the file boundary.
#include <string>
#include <string_view>

namespace vestrel {

// Every byte has a meaning in Windows-1252 except 0x81, 0x8D, 0x8F, 0x90 and
// 0x9D, which are kept as the control characters U+0081... so that nothing is
// lost.
std::string Win1252VersUtf8(std::string_view octets);

// Raises ErreurConversion naming the first character that Windows-1252
// cannot hold (or an invalid UTF-8 sequence).
std::string Utf8VersWin1252(std::string_view texte);

// True when every character of the UTF-8 text has a Windows-1252 byte.
bool RepresentableWin1252(std::string_view texte) noexcept;

}  // namespace vestrel
