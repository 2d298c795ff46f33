#pragma once
// Reading and writing numbers in texts. "." is the decimal separator whatever
// the locale: nothing here consults the C or C++ locale.
#include <cstdint>
#include <string>
#include <string_view>

namespace vestrel {

// A real number: optional sign, digits with an optional "." fraction (at least
// one digit in all), optional exponent (e or E, optional sign, digits); nothing
// else, no blanks, no "inf" or "nan". Raises ErreurConversion
// "'%s' n'est pas une valeur en virgule flottante correcte" otherwise, and for
// a value too large for a double.
double LitReel(std::string_view texte);
// Same grammar, no exception: false when the text is not a real number.
bool EssaieLitReel(std::string_view texte, double& valeur) noexcept;

// A 32-bit signed integer: optional sign and decimal digits, nothing else.
// Raises ErreurConversion "'%s' n'est pas une valeur entière correcte".
int32_t LitEntier(std::string_view texte);
bool EssaieLitEntier(std::string_view texte, int32_t& valeur) noexcept;

// printf's "%.<chiffres>g" in the C locale ("%.12g", "%.8g", "%.9g", "%.6g",
// "%.15g").
std::string FormatG(double valeur, int chiffres);
// printf's "%.<decimales>f" in the C locale ("%.3f", "%.8f").
std::string FormatF(double valeur, int decimales);
// printf's "%d".
std::string FormatD(long long valeur);

// Appending forms for writers that build long texts.
void AjouteG(std::string& sortie, double valeur, int chiffres);
void AjouteF(std::string& sortie, double valeur, int decimales);

}  // namespace vestrel
