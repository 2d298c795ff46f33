// The catalogue: its lists, look-ups by name and the data file.
#include "catalogue/donnee.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <type_traits>
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

// The same through the list's index, which first takes in the entries
// appended since the last look-up. A hit is checked against the list: an
// entry changed behind the index's back sends the search to the list itself.
template <class T>
int Position(const std::vector<std::unique_ptr<T>>& liste, TIndexNoms& index, const std::string& nom) {
  if (liste.size() < index.Taille) index = {};
  for (; index.Taille < liste.size(); ++index.Taille)
    index.Positions[liste[index.Taille]->Nom] = static_cast<int>(index.Taille);
  const auto trouve = index.Positions.find(nom);
  if (trouve == index.Positions.end()) return -1;
  if (liste[static_cast<size_t>(trouve->second)]->Nom == nom) return trouve->second;
  index = {};
  return DernierIndice(liste, nom);
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
  throw ErreurConversion(Remplit(modele, Extrait(cle)));
}

// A record's texts as the data file can hold them.
void VerifieTextes(const std::string& nom, const std::string& description) {
  TDonnees::VerifieTexte(nom, "Le nom");
  TDonnees::VerifieTexte(description, "La description");
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
  LitParametres(*systeme, flux, [&donnees](const std::string& nom) { return donnees.TrouveDatum(nom); });
  VerifieTextes(systeme->Nom, systeme->Description);
  donnees.VerifieNom(systeme->Nom);
  // Parameters whose constants cannot be computed (a tangent cone at the
  // equator, a secant cone with equal parallels) are still the user's: the
  // system is kept, unusable, and converting through it gives the reason.
  try {
    systeme->SetValide(true);
  } catch (const Erreur&) {
  }
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
  if (IndiceEllipsoide(nom) >= 0 || IndiceDatum(nom) >= 0 || IndiceProjection(nom) >= 0 ||
      IndiceMultiple(nom) >= 0)
    throw ErreurConversion(Extrait(nom) + " est déjà utilisé");
}

void TDonnees::LitEnregistrement(TFlux& flux) {
  const std::string cle = LitCle(flux);
  if (cle == "Ellipsoide") {
    auto ellipsoide = std::make_unique<TEllipsoide>();
    ellipsoide->Lecture(flux);
    VerifieTextes(ellipsoide->Nom, ellipsoide->Description);
    VerifieNom(ellipsoide->Nom);
    Ellipsoides.push_back(std::move(ellipsoide));
  } else if (cle == "Datum") {
    auto datum = std::make_unique<TDatum>();
    datum->Lecture(flux, [this](const std::string& nom) { return TrouveEllipsoide(nom); });
    VerifieTextes(datum->Nom, datum->Description);
    VerifieTexte(datum->NomGrille, "Le nom de grille");
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
  for (const auto& ligne : LignesGardees) sortie += ligne + "\r\n";
}

void TDonnees::AjouteLigne(const std::string& ligne) {
  TFlux flux(ligne);
  LitEnregistrement(flux);
}

std::vector<TRejet> TDonnees::ChargeLignes(const std::string& chemin, bool garde) {
  const std::string octets = LitFichier(chemin);
  EmpreinteLue = std::hash<std::string_view>{}(octets);
  const std::string texte = TexteDuFichier(octets, LuEnUtf8);
  LignesNotees.clear();
  std::vector<TRejet> rejets;
  int numero = 0;
  // Lines end with CR LF, LF or CR.
  for (size_t debut = 0; debut < texte.size();) {
    size_t fin = texte.find_first_of("\r\n", debut);
    if (fin == std::string::npos) fin = texte.size();
    std::string ligne = texte.substr(debut, fin - debut);
    debut = fin + (texte.compare(fin, 2, "\r\n") == 0 ? 2 : 1);
    ++numero;
    // A UTF-8 file may hold what Windows-1252 cannot: noted so that the
    // record loads and the file can be saved with nothing lost.
    if (LuEnUtf8 && !RepresentableWin1252(ligne)) {
      ligne = NoteHorsWin1252(ligne);
      LignesNotees.push_back({chemin, numero, ligne, Extrait(ligne)});
    }
    if (ligne.find_first_not_of(" \t") == std::string::npos) continue;
    if (ligne.front() == '\'') {
      if (garde) LignesGardees.push_back(ligne);
      continue;
    }
    try {
      AjouteLigne(ligne);
    } catch (const Erreur& e) {
      rejets.push_back({chemin, numero, ligne, e.what()});
      if (garde) LignesGardees.push_back(ligne);
    }
  }
  return rejets;
}

void TDonnees::ChargeFichier(const std::string& chemin) {
  const std::vector<TRejet> rejets = ChargeLignes(chemin, false);
  if (!rejets.empty())
    throw ErreurChargement(chemin, rejets.front().Ligne, rejets.front().Message);
}

std::string TexteRejets(const std::vector<TRejet>& rejets) {
  // A message box stays readable whatever the file: the first lines, then
  // how many more.
  constexpr size_t kMontrees = 10;
  std::string texte;
  for (size_t i = 0; i < rejets.size() && i < kMontrees; ++i) {
    if (!texte.empty()) texte += '\n';
    texte += rejets[i].Fichier + ", ligne " + FormatD(rejets[i].Ligne) + " : " + rejets[i].Message;
  }
  if (rejets.size() > kMontrees)
    texte += "\n… et " + FormatD(static_cast<long long>(rejets.size() - kMontrees)) + " autres lignes";
  return texte;
}

void TDonnees::SauveFichier(const std::string& chemin) const {
  std::string texte;
  SauveFlux(texte);
  const std::string octets = Utf8VersWin1252(texte);
  EcritFichierSur(chemin, octets);
  // Saved over the file it mirrors: it mirrors what it wrote.
  std::error_code erreur;
  if (!Origine.empty() && std::filesystem::equivalent(chemin, Origine, erreur))
    EmpreinteOrigine = std::hash<std::string_view>{}(octets);
}

ErreurChargement::ErreurChargement(std::string fichier, int ligne, const std::string& message)
    : ErreurConversion(fichier + ", ligne " + FormatD(ligne) + " : " + message),
      Fichier(std::move(fichier)),
      Ligne(ligne),
      MessageRecord(message) {}

// ---- Look-ups ---------------------------------------------------------------

int TDonnees::IndiceEllipsoide(const std::string& nom) const {
  return Position(Ellipsoides, indexEllipsoides_, nom);
}
int TDonnees::IndiceDatum(const std::string& nom) const { return Position(Datums, indexDatums_, nom); }
int TDonnees::IndiceProjection(const std::string& nom) const {
  return Position(Projections, indexProjections_, nom);
}
int TDonnees::IndiceMultiple(const std::string& nom) const {
  return Position(Multiples, indexMultiples_, nom);
}

// Forgets the name indexes when an edit ends, whichever way it ends.
struct TDonnees::TOubliIndex {
  TDonnees& Donnees;
  ~TOubliIndex() { Donnees.OublieIndex(); }
};

void TDonnees::OublieIndex() {
  for (TIndexNoms* index : {&indexEllipsoides_, &indexDatums_, &indexProjections_, &indexMultiples_})
    *index = {};
}

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
  return IndiceDatum(nom) < 0 && IndiceProjection(nom) < 0 && IndiceMultiple(nom) < 0;
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

// ---- Rules on what the data file can hold ------------------------------------

void TDonnees::VerifieTexte(const std::string& texte, const char* quoi) {
  const bool controle = std::any_of(texte.begin(), texte.end(),
                                    [](char c) { return static_cast<unsigned char>(c) < 0x20; });
  if (controle || texte.find('"') != std::string::npos || !RepresentableWin1252(texte))
    throw ErreurConversion(std::string(quoi) +
                           " ne peut contenir ni guillemet (\"), ni caractère de contrôle, ni "
                           "caractère que le fichier de données (Windows-1252) ne sait pas écrire");
}

bool TDonnees::NomDisponible(const std::string& nom, const void* soi) const {
  const void* trouves[] = {TrouveEllipsoide(nom), TrouveDatum(nom), TrouveSysteme(nom)};
  return std::all_of(std::begin(trouves), std::end(trouves),
                     [soi](const void* r) { return r == nullptr || r == soi; });
}

std::string TDonnees::NomPropose(const std::string& prefixe) const {
  for (long long n = 1;; ++n) {
    std::string nom = prefixe + FormatD(n);
    if (NomDisponible(nom)) return nom;
  }
}

bool TDonnees::EllipsoideValide(double a, double e) {
  return std::isfinite(a) && a > 0 && e >= 0 && e < 1;
}

// ---- Edits ------------------------------------------------------------------

namespace {

// The texts and the name of a record about to enter the catalogue as `soi`.
void ControleNom(const TDonnees& donnees, const std::string& nom, const std::string& description,
                 const void* soi) {
  VerifieTextes(nom, description);
  if (!donnees.NomDisponible(nom, soi)) throw ErreurConversion(nom + " est déjà utilisé");
}

// A value as the data file gives it back: the catalogue holds what a fresh
// load of its saved file would hold, so that an edit converts exactly as the
// next start will. The digits are those of the record writers (reals "%.12g",
// the datum's scale "%.8g").
double CommeEcrit(double valeur, int chiffres = 12) {
  double lu = valeur;
  return EssaieLitReel(FormatG(valeur, chiffres), lu) ? lu : valeur;
}

void NormaliseEllipsoide(TEllipsoide& e) {
  e.A = CommeEcrit(e.A);
  e.E = CommeEcrit(e.E);
}

void NormaliseDatum(TDatum& d) {
  for (double* v : {&d.DeltaX, &d.DeltaY, &d.DeltaZ, &d.RotX, &d.RotY, &d.RotZ}) *v = CommeEcrit(*v);
  d.Echelle = CommeEcrit(d.Echelle, 8);
}

// Reals written with their digits; integers, angle texts and booleans are
// kept exactly. Then the constants.
void NormaliseSysteme(TAncetre& s) {
  for (int i = 0; i < s.NbReel(); ++i) {
    const double v = s.GetReel(i), w = CommeEcrit(v);
    if (w != v) s.SetReel(i, w);
  }
  s.SetValide(true);
}

void ControleEllipsoide(const TEllipsoide& e) {
  if (!TDonnees::EllipsoideValide(e.A, e.E))
    throw ErreurConversion("L'ellipsoïde " + e.Nom +
                           " n'est pas valide : a doit être positif et e compris entre 0 et 1");
}

template <class T, class U>
bool Possede(const std::vector<std::unique_ptr<T>>& liste, const U* enregistrement) {
  return std::any_of(liste.begin(), liste.end(),
                     [enregistrement](const auto& e) { return e.get() == enregistrement; });
}

// The position of a record that must be a user's entry of the list (not the
// built-in entry 0 of the ellipsoids and datums).
template <class T>
size_t Rang(const std::vector<std::unique_ptr<T>>& liste, const T* enregistrement,
            size_t premier, const char* quoi) {
  for (size_t i = premier; i < liste.size(); ++i)
    if (liste[i].get() == enregistrement) return i;
  throw ErreurConversion(std::string(quoi) + " ne fait pas partie des données modifiables");
}

}  // namespace

void TDonnees::MetAJour(const std::function<bool(const TAncetre&)>& depend) {
  auto recalcule = [&](TAncetre& systeme) {
    if (!depend(systeme)) return;
    try {
      systeme.SetValide(true);
    } catch (const Erreur&) {
      // Kept, unusable; Defaut says why.
    }
  };
  for (auto& p : Projections) recalcule(*p);
  for (auto& m : Multiples) recalcule(*m);
}

TEllipsoide& TDonnees::AjouteEllipsoide(std::unique_ptr<TEllipsoide> ellipsoide) {
  ControleNom(*this, ellipsoide->Nom, ellipsoide->Description, nullptr);
  ControleEllipsoide(*ellipsoide);
  NormaliseEllipsoide(*ellipsoide);
  Ellipsoides.push_back(std::move(ellipsoide));
  return *Ellipsoides.back();
}

TDatum& TDonnees::AjouteDatum(std::unique_ptr<TDatum> datum) {
  ControleNom(*this, datum->Nom, datum->Description, nullptr);
  VerifieTexte(datum->NomGrille, "Le nom de grille");
  if (!Possede(Ellipsoides, datum->Ellipsoide))
    throw ErreurConversion("L'ellipsoïde du datum " + datum->Nom + " n'est pas dans les données");
  NormaliseDatum(*datum);
  Datums.push_back(std::move(datum));
  return *Datums.back();
}

TAncetre& TDonnees::AjouteSysteme(std::unique_ptr<TAncetre> systeme) {
  ControleNom(*this, systeme->Nom, systeme->Description, nullptr);
  if (!Possede(Datums, systeme->Datum))
    throw ErreurConversion("Le datum du système " + systeme->Nom + " n'est pas dans les données");
  NormaliseSysteme(*systeme);
  if (auto* multiple = dynamic_cast<TMultiple*>(systeme.get())) {
    systeme.release();
    Multiples.emplace_back(multiple);
    return *Multiples.back();
  }
  auto* projection = dynamic_cast<TProjection*>(systeme.get());
  if (!projection) throw ErreurAssertion("Système " + systeme->Nom + " d'un genre inconnu");
  systeme.release();
  Projections.emplace_back(projection);
  return *Projections.back();
}

void TDonnees::RemplaceEllipsoide(TEllipsoide& entree, const TEllipsoide& valeurs) {
  const TOubliIndex oubli{*this};
  Rang(Ellipsoides, &entree, 1, "L'ellipsoïde");
  ControleNom(*this, valeurs.Nom, valeurs.Description, &entree);
  ControleEllipsoide(valeurs);
  entree.Assign(valeurs);
  NormaliseEllipsoide(entree);
  MetAJour([&entree](const TAncetre& s) { return s.Datum && s.Datum->Ellipsoide == &entree; });
}

void TDonnees::RemplaceDatum(TDatum& entree, TDatum& valeurs) {
  const TOubliIndex oubli{*this};
  Rang(Datums, &entree, 1, "Le datum");
  ControleNom(*this, valeurs.Nom, valeurs.Description, &entree);
  VerifieTexte(valeurs.NomGrille, "Le nom de grille");
  if (!Possede(Ellipsoides, valeurs.Ellipsoide))
    throw ErreurConversion("L'ellipsoïde du datum " + valeurs.Nom + " n'est pas dans les données");
  // A grid already loaded for the same file moves over rather than being
  // read again.
  if (valeurs.Grille && valeurs.NomGrille != entree.NomGrille) {
    entree.Grille = std::move(valeurs.Grille);
    entree.NomGrille = valeurs.NomGrille;
  }
  entree.Assign(valeurs);
  NormaliseDatum(entree);
  MetAJour([&entree](const TAncetre& s) { return s.Datum == &entree; });
}

TAncetre& TDonnees::RemplaceSysteme(const TAncetre& ancien, std::unique_ptr<TAncetre> nouveau) {
  const TOubliIndex oubli{*this};
  const bool simple = Possede(Projections, &ancien), multiple = Possede(Multiples, &ancien);
  if (!simple && !multiple)
    throw ErreurConversion(ancien.Nom + " ne fait pas partie des données modifiables");
  ControleNom(*this, nouveau->Nom, nouveau->Description, &ancien);
  if (!Possede(Datums, nouveau->Datum))
    throw ErreurConversion("Le datum du système " + nouveau->Nom + " n'est pas dans les données");
  NormaliseSysteme(*nouveau);
  // In its place when it keeps its genre; else at the end of its new list.
  auto remplace = [&](auto& liste) -> TAncetre& {
    using T = typename std::remove_reference_t<decltype(liste)>::value_type::element_type;
    for (auto& e : liste)
      if (e.get() == &ancien) {
        e.reset(static_cast<T*>(nouveau.release()));
        return *e;
      }
    throw ErreurAssertion("Système " + ancien.Nom + " introuvable");
  };
  if (multiple && dynamic_cast<TMultiple*>(nouveau.get())) return remplace(Multiples);
  if (simple && dynamic_cast<TProjection*>(nouveau.get())) return remplace(Projections);
  TAncetre& ajoute = AjouteSysteme(std::move(nouveau));
  SupprimeSysteme(ancien);
  return ajoute;
}

bool TDonnees::SupprimeSysteme(const TAncetre& systeme) {
  const TOubliIndex oubli{*this};
  auto retire = [&systeme](auto& liste) {
    for (auto i = liste.begin(); i != liste.end(); ++i)
      if (i->get() == &systeme) {
        liste.erase(i);
        return true;
      }
    return false;
  };
  return retire(Projections) || retire(Multiples);
}

void TDonnees::Reinitialise() {
  const TOubliIndex oubli{*this};
  Multiples.clear();
  Projections.clear();
  Datums.resize(1);
  Ellipsoides.resize(1);
  LignesGardees.clear();
}

size_t TDonnees::NombreEnregistrements() const {
  const size_t gardees = static_cast<size_t>(std::count_if(
      LignesGardees.begin(), LignesGardees.end(), [](const std::string& l) { return l.front() != '\''; }));
  return Ellipsoides.size() - 1 + Datums.size() - 1 + Projections.size() + Multiples.size() +
         gardees;
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
  OublieIndex();
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
  OublieIndex();
  return true;
}

}  // namespace vestrel
