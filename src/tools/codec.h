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

// The text of a data file as read from disk. Windows-1252 is the file's
// format, but an editor may have saved it in UTF-8: a leading byte-order mark,
// or bytes beyond ASCII that all form valid UTF-8 (Windows-1252 accented text
// practically never does), mark such a file; its text is then taken as it
// stands, without the mark, and `utf8` is set.
std::string TexteDuFichier(std::string_view octets, bool& utf8);

// True when every character of the UTF-8 text has a Windows-1252 byte.
bool RepresentableWin1252(std::string_view texte) noexcept;

// The valid UTF-8 text with every character that Windows-1252 cannot hold
// written as its code point, "<U+0141>" for "Ł": the text can then be saved
// in Windows-1252 and nothing of it is lost.
std::string NoteHorsWin1252(std::string_view texte);

}  // namespace vestrel
