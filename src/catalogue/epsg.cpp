#include "catalogue/epsg.h"

#include <charconv>

namespace vestrel {

namespace {

constexpr std::string_view kPrefixe = "EPSG:";

// The digits of "N" in a text that must hold nothing else; none otherwise.
std::optional<int> Nombre(std::string_view texte) {
  int code = 0;
  const auto [fin, erreur] = std::from_chars(texte.data(), texte.data() + texte.size(), code);
  if (texte.empty() || texte[0] < '0' || texte[0] > '9' || erreur != std::errc() ||
      fin != texte.data() + texte.size() || code <= 0)
    return std::nullopt;
  return code;
}

bool CommencePar(std::string_view texte, std::string_view prefixe, bool casse) {
  if (texte.size() < prefixe.size()) return false;
  for (size_t i = 0; i < prefixe.size(); ++i) {
    char c = texte[i];
    if (!casse && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != prefixe[i]) return false;
  }
  return true;
}

}  // namespace

std::optional<int> CodeEPSG(std::string_view description) {
  for (size_t debut = description.find("(EPSG:"); debut != std::string_view::npos;
       debut = description.find("(EPSG:", debut + 1)) {
    const size_t chiffres = debut + 1 + kPrefixe.size();
    const size_t fin = description.find(')', chiffres);
    if (fin == std::string_view::npos) break;
    if (const auto code = Nombre(description.substr(chiffres, fin - chiffres))) return code;
  }
  return std::nullopt;
}

TSystemeResolu ResoutNomOuCode(const TDonnees& donnees, const std::string& nom) {
  TSystemeResolu resolu = donnees.Resout(nom);
  if (resolu.Trouve() || !CommencePar(nom, kPrefixe, false)) return resolu;
  const std::optional<int> code = Nombre(std::string_view(nom).substr(kPrefixe.size()));
  const std::string texte = "EPSG:" + nom.substr(kPrefixe.size());
  if (!code) throw ErreurConversion("Code EPSG incorrect : \"" + nom + "\", exemple EPSG:2154");
  std::string noms;
  int nombre = 0;
  auto essaie = [&](const auto& liste, auto TSystemeResolu::*champ) {
    for (const auto& entree : liste) {
      if (CodeEPSG(entree->Description) != code) continue;
      ++nombre;
      noms += (noms.empty() ? "" : ", ") + entree->Nom;
      resolu.*champ = entree.get();
    }
  };
  essaie(donnees.Datums, &TSystemeResolu::Datum);
  essaie(donnees.Projections, &TSystemeResolu::Projection);
  essaie(donnees.Multiples, &TSystemeResolu::Multiple);
  if (nombre == 0)
    throw ErreurConversion("Aucun système du catalogue ne porte le code " + texte);
  if (nombre > 1)
    throw ErreurConversion("Le code " + texte + " est porté par plusieurs systèmes du catalogue : " +
                           noms);
  return resolu;
}

}  // namespace vestrel
