// The catalogue: its lists, look-ups by name and the data file.
#include "catalogue/donnee.h"

#include <algorithm>
#include <initializer_list>

#include "systems/createur.h"
#include "tools/chemins.h"
#include "tools/codec.h"
#include "tools/nombres.h"

namespace vestrel {

namespace {

// Index of the last entry of the list bearing that name, or -1.
template <class T>
int DernierIndice(const std::vector<std::unique_ptr<T>>& liste, const std::string& nom) {
  for (int i = static_cast<int>(liste.size()) - 1; i >= 0; --i)
    if (liste[static_cast<size_t>(i)]->Nom == nom) return i;
  return -1;
}

template <class T>
bool Contient(const std::vector<std::unique_ptr<T>>& liste, const std::string& nom) {
  return DernierIndice(liste, nom) >= 0;
}

// Line number (from 1) of a position in a text whose lines end with CR LF,
// LF or CR.
int NumeroLigne(const std::string& texte, size_t position) {
  int ligne = 1;
  for (size_t i = 0; i < position && i < texte.size(); ++i) {
    if (texte[i] == '\n') {
      ++ligne;
    } else if (texte[i] == '\r') {
      ++ligne;
      if (i + 1 < position && texte[i + 1] == '\n') ++i;
    }
  }
  return ligne;
}

// A system line: the keyword is the kind word followed by the quoted nature.
struct TGenreSysteme {
  const char* Mot;          // "Projection" / "Multiple"
  const char* Definition;   // message of a keyword that does not split in two
  const char* Inconnue;     // message of an unknown nature
};
constexpr TGenreSysteme kGenreProjection{"Projection", "Définition de projection '%s' incorrecte",
                                         "Projection %s inconnue"};
constexpr TGenreSysteme kGenreMultiple{"Multiple", "Définition de Multiple '%s' incorrecte",
                                       "Multiple %s inconnue"};

std::string Remplit(const char* modele, const std::string& valeur) {
  std::string message = modele;
  message.replace(message.find("%s"), 2, valeur);
  return message;
}

// Consumes the rest of the line, then raises the catalogue's own error.
[[noreturn]] void Rejette(TFlux& flux, const char* modele, const std::string& cle) {
  LitLigne(flux);
  throw ErreurConversion(Remplit(modele, cle));
}

// The record lines quote their texts without any escape: a text holding a
// double quote would be written as a line that no longer reads back, and the
// next load would stop there, losing every record after it. Such a record is
// refused when it is read.
void VerifieGuillemets(std::initializer_list<const std::string*> textes) {
  for (const std::string* texte : textes)
    if (texte->find('"') != std::string::npos)
      throw ErreurConversion("Le texte " + *texte +
                             " contient un guillemet, que le fichier de données ne peut pas "
                             "enregistrer");
}

// Reads a system line whose keyword begins with the kind word.
template <class T>
void LitSysteme(TDonnees& donnees, TFlux& flux, const std::string& cle, const TGenreSysteme& genre,
                std::unique_ptr<T> (*cree)(const std::string&),
                std::vector<std::unique_ptr<T>>& liste) {
  std::vector<std::string> jetons;
  DecoupeLigne(cle, jetons);
  if (jetons.size() != 2) Rejette(flux, genre.Definition, cle);
  if (jetons[0] != genre.Mot) Rejette(flux, "Donnée '%s' de nature inconnue", cle);
  std::unique_ptr<T> systeme = cree(jetons[1]);
  if (!systeme) Rejette(flux, genre.Inconnue, cle);
  Lecture(*systeme, flux, donnees.Datums);
  VerifieGuillemets({&systeme->Nom, &systeme->Description});
  donnees.VerifieNom(systeme->Nom);
  liste.push_back(std::move(systeme));
}

}  // namespace

TDonnees::TDonnees() {
  std::string ellipsoide = "Ellipsoide=\"GRS 80\" \"GRS 80\" ";
  AjouteG(ellipsoide, DemiGrandAxeWGS84, 15);
  ellipsoide += ' ';
  AjouteG(ellipsoide, ExcentriciteWGS84, 15);
  AjouteLigne(ellipsoide);
  AjouteLigne("Datum=\"WGS84\" \"World Geodesic System (EPSG:4326)\" \"GRS 80\" 0 0 0");
}

TDonnees::~TDonnees() {
  // Each system refers to a datum and each datum to an ellipsoid: free the
  // users first.
  Multiples.clear();
  Projections.clear();
  Datums.clear();
  Ellipsoides.clear();
}

// ---- Data file --------------------------------------------------------------

void TDonnees::VerifieNom(const std::string& nom) const {
  if (Contient(Ellipsoides, nom) || Contient(Datums, nom) || Contient(Projections, nom) ||
      Contient(Multiples, nom))
    throw ErreurConversion(nom + " est déjà utilisé");
}

void TDonnees::LitEnregistrement(TFlux& flux) {
  const std::string cle = LitCle(flux);
  if (cle == "Ellipsoide") {
    auto ellipsoide = std::make_unique<TEllipsoide>();
    ellipsoide->Lecture(flux);
    VerifieGuillemets({&ellipsoide->Nom, &ellipsoide->Description});
    VerifieNom(ellipsoide->Nom);
    Ellipsoides.push_back(std::move(ellipsoide));
  } else if (cle == "Datum") {
    auto datum = std::make_unique<TDatum>();
    datum->Lecture(flux, Ellipsoides);
    VerifieGuillemets({&datum->Nom, &datum->Description, &datum->NomGrille});
    VerifieNom(datum->Nom);
    Datums.push_back(std::move(datum));
  } else if (cle.starts_with("Projection")) {
    LitSysteme(*this, flux, cle, kGenreProjection, &CreeProjection, Projections);
  } else if (cle.starts_with("Multiple")) {
    LitSysteme(*this, flux, cle, kGenreMultiple, &CreeMultiple, Multiples);
  } else {
    Rejette(flux, "Donnée %s de nature inconnue", cle);
  }
}

void TDonnees::ChargeFlux(TFlux& flux) {
  flux.Place(0);
  while (!flux.Fin()) LitEnregistrement(flux);
}

void TDonnees::SauveFlux(std::string& sortie) const {
  for (size_t i = 1; i < Ellipsoides.size(); ++i) Ellipsoides[i]->Ecriture(sortie);
  for (size_t i = 1; i < Datums.size(); ++i) Datums[i]->Ecriture(sortie);
  for (const auto& p : Projections) Ecriture(*p, sortie);
  for (const auto& m : Multiples) Ecriture(*m, sortie);
}

void TDonnees::AjouteLigne(const std::string& ligne) {
  TFlux flux(ligne);
  LitEnregistrement(flux);
}

void TDonnees::ChargeFichier(const std::string& chemin) {
  TFlux flux(Win1252VersUtf8(LitFichier(chemin)));
  while (!flux.Fin()) {
    const size_t debut = flux.Position();
    try {
      LitEnregistrement(flux);
    } catch (const Erreur& e) {
      throw ErreurChargement(chemin, NumeroLigne(flux.Contenu(), debut), e.what());
    }
  }
}

void TDonnees::SauveFichier(const std::string& chemin) const {
  std::string texte;
  SauveFlux(texte);
  EcritFichierSur(chemin, Utf8VersWin1252(texte));
}

ErreurChargement::ErreurChargement(std::string fichier, int ligne, const std::string& message)
    : ErreurConversion(fichier + ", ligne " + FormatD(ligne) + " : " + message),
      Fichier(std::move(fichier)),
      Ligne(ligne),
      MessageRecord(message) {}

// ---- Look-ups ---------------------------------------------------------------

int TDonnees::IndiceEllipsoide(const std::string& nom) const { return DernierIndice(Ellipsoides, nom); }
int TDonnees::IndiceDatum(const std::string& nom) const { return DernierIndice(Datums, nom); }
int TDonnees::IndiceProjection(const std::string& nom) const { return DernierIndice(Projections, nom); }
int TDonnees::IndiceMultiple(const std::string& nom) const { return DernierIndice(Multiples, nom); }

TEllipsoide* TDonnees::TrouveEllipsoide(const std::string& nom) const {
  const int i = IndiceEllipsoide(nom);
  return i < 0 ? nullptr : Ellipsoides[static_cast<size_t>(i)].get();
}

TDatum* TDonnees::TrouveDatum(const std::string& nom) const {
  const int i = IndiceDatum(nom);
  return i < 0 ? nullptr : Datums[static_cast<size_t>(i)].get();
}

TAncetre* TDonnees::TrouveSysteme(const std::string& nom) const {
  if (const int i = IndiceProjection(nom); i >= 0) return Projections[static_cast<size_t>(i)].get();
  if (const int i = IndiceMultiple(nom); i >= 0) return Multiples[static_cast<size_t>(i)].get();
  return nullptr;
}

std::string TDonnees::DescriptionDe(const std::string& nom) const {
  std::string description;
  for (const auto& d : Datums)
    if (d->Nom == nom) description = d->Description;
  for (const auto& p : Projections)
    if (p->Nom == nom) description = p->Description;
  for (const auto& m : Multiples)
    if (m->Nom == nom) description = m->Description;
  return description;
}

bool TDonnees::NomLibre(const std::string& nom) const {
  return !Contient(Datums, nom) && !Contient(Projections, nom) && !Contient(Multiples, nom);
}

std::vector<std::string> TDonnees::AvertissementsGrilles() const {
  std::vector<std::string> avertissements;
  for (const auto& datum : Datums)
    if (!datum->Grille && !datum->ErreurGrille.empty())
      avertissements.push_back("La grille " + datum->NomGrille + " du datum " + datum->Nom +
                               " n'est pas utilisée (" + datum->ErreurGrille +
                               ") : ses paramètres la remplacent");
  return avertissements;
}

void TDonnees::ListeNoms(std::vector<std::string>& liste) const {
  liste.clear();
  liste.reserve(Datums.size() + Projections.size() + Multiples.size());
  for (const auto& d : Datums) liste.push_back(d->Nom);
  for (const auto& p : Projections) liste.push_back(p->Nom);
  for (const auto& m : Multiples) liste.push_back(m->Nom);
}

TSystemeResolu TDonnees::Resout(const std::string& nom) const {
  TSystemeResolu r;
  if (const int i = IndiceDatum(nom); i >= 0)
    r.Datum = Datums[static_cast<size_t>(i)].get();
  else if (const int j = IndiceProjection(nom); j >= 0)
    r.Projection = Projections[static_cast<size_t>(j)].get();
  else if (const int k = IndiceMultiple(nom); k >= 0)
    r.Multiple = Multiples[static_cast<size_t>(k)].get();
  return r;
}

// ---- Removal ----------------------------------------------------------------
// The built-ins (entry 0) are never removed: the data file skips entry 0 of
// both lists, so a user record in its place would be lost at the next save.

bool TDonnees::SupprimeEllipsoide(const std::string& nom) {
  const int i = IndiceEllipsoide(nom);
  if (i <= 0) return false;
  TEllipsoide* e = Ellipsoides[static_cast<size_t>(i)].get();
  if (std::any_of(Datums.begin(), Datums.end(), [e](const auto& d) { return d->Ellipsoide == e; }))
    return false;
  Ellipsoides.erase(Ellipsoides.begin() + i);
  return true;
}

bool TDonnees::SupprimeDatum(const std::string& nom) {
  const int i = IndiceDatum(nom);
  if (i <= 0) return false;
  TDatum* d = Datums[static_cast<size_t>(i)].get();
  auto utilise = [d](const auto& s) { return s->Datum == d; };
  if (std::any_of(Projections.begin(), Projections.end(), utilise) ||
      std::any_of(Multiples.begin(), Multiples.end(), utilise))
    return false;
  Datums.erase(Datums.begin() + i);
  return true;
}

}  // namespace vestrel
