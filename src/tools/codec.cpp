#include "tools/codec.h"

#include <array>
#include <cstdint>

#include "tools/erreurs.h"
#include "tools/nombres.h"

namespace vestrel {

namespace {

// Code points of the bytes 0x80..0x9F in Windows-1252 (Microsoft's published
// cp1252 table). The five bytes the table leaves undefined keep the C1 control
// character of the same value, so every byte survives a round trip.
constexpr auto kPlage80 = std::to_array<char32_t>({
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178});
// One code point per byte of the range: a value lost or doubled fails here.
static_assert(kPlage80.size() == 0xA0 - 0x80);

char32_t PointDeCode(unsigned char octet) {
  return (octet >= 0x80 && octet < 0xA0) ? kPlage80[octet - 0x80] : octet;
}

void AjouteUtf8(std::string& s, char32_t c) {
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else if (c < 0x800) {
    s += static_cast<char>(0xC0 | (c >> 6));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else {  // the table holds nothing beyond the basic plane
    s += static_cast<char>(0xE0 | (c >> 12));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Windows-1252 byte of a code point, or -1.
int Octet(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (size_t i = 0; i < kPlage80.size(); ++i)
    if (kPlage80[i] == c) return static_cast<int>(0x80 + i);
  return -1;
}

// Decodes the code point starting at `pos` and moves `pos` past it. Strict
// UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF.
bool LitPointDeCode(std::string_view t, size_t& pos, char32_t& c) {
  const auto o = [&](size_t i) { return static_cast<unsigned char>(t[i]); };
  const unsigned char premier = o(pos);
  size_t suite;
  char32_t minimum;
  if (premier < 0x80) {
    c = premier;
    ++pos;
    return true;
  } else if (premier >= 0xC2 && premier <= 0xDF) {
    suite = 1, minimum = 0x80, c = premier & 0x1F;
  } else if (premier >= 0xE0 && premier <= 0xEF) {
    suite = 2, minimum = 0x800, c = premier & 0x0F;
  } else if (premier >= 0xF0 && premier <= 0xF4) {
    suite = 3, minimum = 0x10000, c = premier & 0x07;
  } else {
    return false;
  }
  if (t.size() - pos <= suite) return false;  // truncated sequence
  for (size_t i = 1; i <= suite; ++i) {
    if ((o(pos + i) & 0xC0) != 0x80) return false;
    c = (c << 6) | (o(pos + i) & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
  pos += suite + 1;
  return true;
}

}  // namespace

std::string Win1252VersUtf8(std::string_view octets) {
  std::string s;
  s.reserve(octets.size() + octets.size() / 8);
  for (const char o : octets) AjouteUtf8(s, PointDeCode(static_cast<unsigned char>(o)));
  return s;
}

std::string Utf8VersWin1252(std::string_view texte) {
  std::string s;
  s.reserve(texte.size());
  size_t pos = 0;
  while (pos < texte.size()) {
    const size_t debut = pos;
    char32_t c;
    if (!LitPointDeCode(texte, pos, c)) {
      constexpr char kHex[] = "0123456789ABCDEF";
      const unsigned char o = static_cast<unsigned char>(texte[debut]);
      throw ErreurConversion(std::string("Texte UTF-8 incorrect : octet 0x") + kHex[o >> 4] +
                             kHex[o & 0xF] + " en position " +
                             FormatD(static_cast<long long>(debut)));
    }
    const int octet = Octet(c);
    if (octet < 0) {
      throw ErreurConversion("Le caractère « " + std::string(texte.substr(debut, pos - debut)) +
                             " » ne peut pas être enregistré en Windows-1252");
    }
    s += static_cast<char>(octet);
  }
  return s;
}

std::string TexteDuFichier(std::string_view octets, bool& utf8) {
  constexpr std::string_view kMarque = "\xEF\xBB\xBF";
  const bool marque = octets.starts_with(kMarque);
  if (marque) octets.remove_prefix(kMarque.size());
  bool autreQueAscii = false, valide = true;
  size_t pos = 0;
  char32_t c;
  while (pos < octets.size() && valide) {
    if (static_cast<unsigned char>(octets[pos]) < 0x80) {
      ++pos;
      continue;
    }
    autreQueAscii = true;
    valide = LitPointDeCode(octets, pos, c);
  }
  utf8 = valide && (marque || autreQueAscii);
  if (utf8) return std::string(octets);
  // A byte-order mark before bytes that are not UTF-8: read as Windows-1252.
  return Win1252VersUtf8(octets);
}

bool RepresentableWin1252(std::string_view texte) noexcept {
  size_t pos = 0;
  char32_t c;
  while (pos < texte.size())
    if (!LitPointDeCode(texte, pos, c) || Octet(c) < 0) return false;
  return true;
}

std::string NoteHorsWin1252(std::string_view texte) {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string s;
  s.reserve(texte.size() + 8);
  size_t pos = 0;
  while (pos < texte.size()) {
    const size_t debut = pos;
    char32_t c;
    if (!LitPointDeCode(texte, pos, c)) {
      // Not UTF-8: a byte of its own, kept (Utf8VersWin1252 refuses it).
      s += texte[pos++];
      continue;
    }
    if (Octet(c) >= 0) {
      s.append(texte.substr(debut, pos - debut));
      continue;
    }
    std::string code;
    for (char32_t reste = c; reste || code.size() < 4; reste >>= 4) code.insert(code.begin(), kHex[reste & 0xF]);
    s += "<U+" + code + ">";
  }
  return s;
}

}  // namespace vestrel
