// Point lines: split into fields, read with the window's texts (or as plain
// numbers of degrees or grades), converted through the numeric pipeline and
// written back; whole files read in large blocks.
#include "catalogue/lignes.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "tools/codec.h"
#include "tools/nombres.h"

namespace vestrel {

namespace {

constexpr const char* kMessageFuseau = "Le numéro de fuseau de départ est incorrect, exemple 12";
constexpr int kChampsExacts = 4;   // ID X Y FUSEAU

bool EstBlanc(char c) { return c == ' ' || c == '\t'; }

std::string_view SansBlancs(std::string_view t) {
  while (!t.empty() && EstBlanc(t.front())) t.remove_prefix(1);
  while (!t.empty() && EstBlanc(t.back())) t.remove_suffix(1);
  return t;
}

// Byte classes of the runs of separators: a blank or a tab, a ";".
constexpr uint8_t kBlanc = 1, kPointVirgule = 2;
constexpr auto kClasses = [] {
  std::array<uint8_t, 256> classes{};
  classes[' '] = classes['\t'] = kBlanc;
  classes[';'] = kPointVirgule;
  return classes;
}();

uint8_t Classe(char c) { return kClasses[static_cast<unsigned char>(c)]; }

// The first position from `i` of a blank, a tab or a ";" among the whole
// words of eight bytes before `taille`, or the start of the first word
// without one. A byte equal to c is a zero byte of x ^ c·0x0101...; the
// lowest zero byte of a word sets the lowest bit of (v − 0x0101...) & ~v &
// 0x8080... (the borrows only reach the bytes above it).
size_t SansSeparateur(const char* octets, size_t i, size_t taille) {
  constexpr uint64_t kUns = 0x0101010101010101, kHauts = 0x8080808080808080;
  auto zeros = [](uint64_t v) { return (v - kUns) & ~v & kHauts; };
  if constexpr (std::endian::native != std::endian::little) return i;
  for (; i + 8 <= taille; i += 8) {
    uint64_t x;
    std::memcpy(&x, octets + i, 8);
    const uint64_t trouves = zeros(x ^ (kUns * ' ')) | zeros(x ^ (kUns * '\t')) | zeros(x ^ (kUns * ';'));
    if (trouves) return i + static_cast<size_t>(std::countr_zero(trouves)) / 8;
  }
  return i;
}

// Splits the line into at most `limite` fields; returns how many were found.
// `pointVirgule` tells whether the line holds a ";" (the separator of the
// output).
int Decoupe(std::string_view ligne, TSeparateur separateur, std::string_view* champs,
            int limite, bool& pointVirgule) {
  int n = 0;
  size_t i = 0;
  const size_t taille = ligne.size();
  if (separateur == TSeparateur::PointVirgule || separateur == TSeparateur::Tabulation) {
    // Every separator ends a field, empty fields included.
    const char s = separateur == TSeparateur::PointVirgule ? ';' : '\t';
    pointVirgule = s == ';';
    if (SansBlancs(ligne).empty()) return 0;
    while (n < limite) {
      const size_t fin = std::min(ligne.find(s, i), taille);
      champs[n++] = SansBlancs(ligne.substr(i, fin - i));
      if (fin == taille) break;
      i = fin + 1;
    }
    return n;
  }
  // Runs of separators between the fields.
  const bool tous = separateur == TSeparateur::Tous;
  const uint8_t separe = tous ? kBlanc | kPointVirgule : kBlanc;
  const char* octets = ligne.data();
  uint8_t vus = 0;
  for (;;) {
    while (i < taille && (Classe(octets[i]) & separe)) vus |= Classe(octets[i++]);
    if (i == taille) break;
    if (n == limite) {
      pointVirgule = (vus & kPointVirgule) || ligne.find(';', i) != std::string_view::npos;
      return n;
    }
    const size_t debut = i;
    // Eight bytes at a time while no separator is among them (a ";" in a
    // field with blanks alone as separators is told byte by byte).
    if (tous) i = SansSeparateur(octets, i, taille);
    while (i < taille && !(Classe(octets[i]) & separe)) vus |= Classe(octets[i++]);
    champs[n++] = std::string_view(octets + debut, i - debut);
  }
  pointVirgule = vus & kPointVirgule;
  return n;
}

// True when the bytes are well-formed UTF-8. Runs of ASCII are passed eight
// bytes at a time.
bool Utf8Valide(std::string_view t) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(t.data());
  const unsigned char* const fin = p + t.size();
  for (;;) {
    for (uint64_t huit; fin - p >= 8; p += 8) {
      std::memcpy(&huit, p, 8);
      if (huit & 0x8080808080808080ULL) break;
    }
    while (p < fin && *p < 0x80) ++p;
    if (p == fin) return true;
    const unsigned char c = *p;
    const long suite = (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : 9;
    if (suite == 9 || suite >= fin - p) return false;
    for (long k = 1; k <= suite; ++k)
      if ((p[k] & 0xC0) != 0x80) return false;
    p += suite + 1;
  }
}

// A typed text in the engine's UTF-8: the field itself when it is UTF-8
// already (ASCII included), else its conversion into `tampon` (a file written
// in Windows-1252, the degree sign as the single byte 0xB0). With decimal
// commas, every "," becomes ".".
std::string_view TexteSaisi(std::string_view champ, bool virgule, std::string& tampon) {
  if (Utf8Valide(champ)) {
    if (!virgule || champ.find(',') == std::string_view::npos) return champ;
    tampon.assign(champ);
  } else {
    tampon = Win1252VersUtf8(champ);
  }
  if (virgule) std::replace(tampon.begin(), tampon.end(), ',', '.');
  return tampon;
}

std::string Attendu(const TOptionsLignes& options, const TSystemeResolu& source) {
  if (options.Colonnes) {
    const TColonnes& c = *options.Colonnes;
    return "au moins " + std::to_string(std::max({c.Id, c.X, c.Y}) + 1) + " champs";
  }
  std::string t = options.Id ? "ID X Y" : "X Y";
  if (source.Multiple) t += " [FUSEAU]";
  return t;
}

// Plain numbers of degrees or grades for a geographic source: the message,
// or null when both are read.
const char* LitAnglesNombres(TFormatAngles format, std::string_view texteX,
                             std::string_view texteY, double& premiere, double& seconde) {
  const bool degres = format == TFormatAngles::Degres;
  const double facteur = degres ? DegresVersRadians : GradesVersRadians;
  if (!EssaieLitReel(texteX, premiere))
    return degres ? "Latitude de départ incorrecte, exemple 48.856614"
                  : "Latitude de départ incorrecte, exemple 54.285127";
  if (!EssaieLitReel(texteY, seconde))
    return degres ? "Longitude de départ incorrecte, exemple 2.352222"
                  : "Longitude de départ incorrecte, exemple 2.613580";
  premiere *= facteur;
  seconde *= facteur;
  return DefautLatitudeLongitude(premiere, seconde);
}

}  // namespace

TConvertisseurLignes::TConvertisseurLignes(const TOptionsLignes& options,
                                           const TSystemeResolu& source,
                                           const TSystemeResolu& destination)
    : options_(options), source_(source), destination_(destination),
      attendu_(Attendu(options, source)),
      refuseHorsGrille_(options.Strict && !MemeDatum(source, destination)) {
  if (options.Methode)
    for (int i = 0; i < 4; ++i) methodes_[i] = TexteMethode(source, destination, i & 1, i & 2);
}

bool TConvertisseurLignes::Convertit(std::string_view ligne, std::string& sortie,
                                     std::string& erreur) {
  // A line that cannot be read is told without raising anything: a file of
  // faulty lines goes nearly as fast as a file of points.
  auto echec = [&erreur](std::string_view message) {
    erreur.assign(message);
    return false;
  };
  auto nombreDeChamps = [&](int n) {
    erreur = "Nombre de champs incorrect (" + std::to_string(n) + "), attendu : " + attendu_;
    return false;
  };
  std::string_view* champs = champs_.data();
  std::string_view champX, champY, champId, champFuseau;
  bool avecId = false, pointVirgule = false;
  if (const auto& c = options_.Colonnes) {
    const int requis = std::max({c->Id, c->X, c->Y}) + 1;
    const int n =
        Decoupe(ligne, options_.Separateur, champs, std::max(requis, c->Fuseau + 1), pointVirgule);
    if (n < requis) return nombreDeChamps(n);
    champX = champs[c->X];
    champY = champs[c->Y];
    avecId = c->Id >= 0;
    if (avecId) champId = champs[c->Id];
    if (c->Fuseau >= 0 && c->Fuseau < n) champFuseau = champs[c->Fuseau];
  } else {
    const int n = Decoupe(ligne, options_.Separateur, champs, kChampsExacts + 1, pointVirgule);
    const int base = options_.Id ? 1 : 0;
    const bool avecFuseau = source_.Multiple && n == base + 3;
    if (n != base + 2 && !avecFuseau) return nombreDeChamps(n);
    champX = champs[base];
    champY = champs[base + 1];
    avecId = options_.Id;
    if (avecId) champId = champs[0];
    if (avecFuseau) {
      champFuseau = champs[base + 2];
      if (champFuseau.empty()) return echec(kMessageFuseau);
    }
  }

  int32_t zone = 0;
  if (source_.Geographique()) {
    zone = options_.ParisDepart ? 1 : 0;
  } else if (source_.Multiple) {
    if (!champFuseau.empty()) {
      if (!EssaieLitEntier(champFuseau, zone)) return echec(kMessageFuseau);
    } else if (options_.Fuseau) {
      zone = *options_.Fuseau;
    } else {
      return echec(kMessageFuseau);
    }
  }
  // Eastings and northings are read as they stand: a number is ASCII, and a
  // field that is not fails alike in either encoding.
  const bool tels = !source_.Geographique() && !options_.VirguleDecimale;
  const std::string_view texteX = tels ? champX : TexteSaisi(champX, options_.VirguleDecimale, texteX_);
  const std::string_view texteY = tels ? champY : TexteSaisi(champY, options_.VirguleDecimale, texteY_);
  double premiere = 0, seconde = 0;
  const char* defaut =
      source_.Geographique() && options_.Angles != TFormatAngles::Textes
          ? LitAnglesNombres(options_.Angles, texteX, texteY, premiere, seconde)
          : EssaieLitPointDepart(source_, texteX, texteY, premiere, seconde);
  if (defaut) return echec(defaut);
  TPointConverti point;
  const size_t avant = sortie.size();
  try {
    ConvertitPoint(source_, zone, destination_, options_.ParisArrivee, premiere, seconde,
                   options_.Details, point, &regions_);
    avertissement_.clear();
    if (point.Eloigne()) {
      if (options_.Strict) return echec(TexteEloigne(source_, destination_, point));
      avertissement_ = TexteEloigne(source_, destination_, point);
    }
    if (refuseHorsGrille_ && (point.HorsGrilleDepart || point.HorsGrilleArrivee))
      return echec(TexteHorsGrille(source_, destination_, point));

    const char separateur =
        options_.Separateur == TSeparateur::PointVirgule ||
                (options_.Separateur == TSeparateur::Tous && pointVirgule)
            ? ';'
            : '\t';
    if (avecId) {
      sortie.append(champId);
      sortie.push_back(separateur);
    }
    AjouteCoordonnee(sortie, destination_, point.X, options_.Unite);
    sortie.push_back(separateur);
    AjouteCoordonnee(sortie, destination_, point.Y, options_.Unite);
    if (destination_.Multiple) {
      char chiffres[16];
      auto [fin, ec] = std::to_chars(chiffres, chiffres + sizeof chiffres, point.Zone);
      sortie.push_back(separateur);
      sortie.append(chiffres, fin);
    }
    if (options_.Details) {
      AngleVersTexte(options_.Unite, point.Convergence, texte_);
      sortie.push_back(separateur);
      sortie += texte_;
      sortie.push_back(separateur);
      sortie += TexteAlteration(point.Alteration);
    }
    if (options_.Methode) {
      sortie.push_back(separateur);
      sortie += methodes_[(point.HorsGrilleDepart ? 1 : 0) + (point.HorsGrilleArrivee ? 2 : 0)];
    }
    return true;
  } catch (const std::exception& e) {
    // A fault of the conversion itself (a singular point, a zone the system
    // lacks), or of the writing of its result.
    sortie.resize(avant);
    return echec(e.what());
  }
}

bool LigneRecopiee(std::string_view ligne) {
  size_t i = 0;
  while (i < ligne.size() && EstBlanc(ligne[i])) ++i;
  return i == ligne.size() || ligne[i] == '#';
}

// ---- Whole files ----------------------------------------------------------------

namespace {

constexpr size_t kBloc = size_t{1} << 20;  // a line longer than this is refused

struct TFermeFichier {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFichier = std::unique_ptr<std::FILE, TFermeFichier>;

// The temporary output: removed unless it was renamed over the target.
class TSortieTemporaire {
 public:
  explicit TSortieTemporaire(const std::string& cible)
      : cible_(cible), chemin_(cible + ".vestrel-partiel") {
    fichier_.reset(std::fopen(chemin_.c_str(), "wb"));
    if (!fichier_) throw ErreurEntreeSortie("Impossible de créer le fichier " + chemin_);
    tampon_.reserve(kBloc + 4096);
  }
  ~TSortieTemporaire() {
    if (fichier_) {
      fichier_.reset();
      std::remove(chemin_.c_str());
    }
  }
  std::string& Tampon() { return tampon_; }
  void FinLigne() {
    if (tampon_.size() >= kBloc) Vide();
  }
  void Termine() {
    Vide();
    const bool ferme = std::fclose(fichier_.release()) == 0;
    if (!ferme || std::rename(chemin_.c_str(), cible_.c_str()) != 0) {
      std::remove(chemin_.c_str());
      throw ErreurEntreeSortie("Impossible d'écrire le fichier " + cible_);
    }
  }

 private:
  void Vide() {
    if (!tampon_.empty() && std::fwrite(tampon_.data(), 1, tampon_.size(), fichier_.get()) != tampon_.size())
      throw ErreurEntreeSortie("Impossible d'écrire le fichier " + cible_);
    tampon_.clear();
  }
  std::string cible_, chemin_;
  TFichier fichier_;
  std::string tampon_;
};

}  // namespace

TBilanFichier ConvertitFichier(const TOptionsLignes& options, const TSystemeResolu& source,
                               const TSystemeResolu& destination, const std::string& entree,
                               const std::string& sortie, const TProgression& progression) {
  TFichier lecture(std::fopen(entree.c_str(), "rb"));
  if (!lecture) throw ErreurEntreeSortie("Impossible d'ouvrir le fichier " + entree);
  uint64_t taille = 0;
  if (std::fseek(lecture.get(), 0, SEEK_END) == 0) {
    const long fin = std::ftell(lecture.get());
    if (fin > 0) taille = static_cast<uint64_t>(fin);
    std::rewind(lecture.get());
  }
  TSortieTemporaire ecriture(sortie);
  TConvertisseurLignes convertisseur(options, source, destination);
  TBilanFichier bilan;
  std::string erreur;
  auto echec = [&bilan](const std::string& message) {
    ++bilan.Echouees;
    if (bilan.Echecs.size() < TBilanFichier::kEchecsGardes)
      bilan.Echecs.push_back({bilan.Lignes, message});
  };

  std::vector<char> bloc(kBloc);
  size_t debut = 0, fin = 0;
  uint64_t lus = 0;
  bool finFichier = false, tronquee = false;
  auto remplit = [&] {
    if (debut > 0) {
      std::memmove(bloc.data(), bloc.data() + debut, fin - debut);
      fin -= debut;
      debut = 0;
    }
    const size_t n = std::fread(bloc.data() + fin, 1, bloc.size() - fin, lecture.get());
    if (n == 0) {
      if (std::ferror(lecture.get())) throw ErreurEntreeSortie("Impossible de lire le fichier " + entree);
      finFichier = true;
    }
    fin += n;
  };
  if (progression && !progression(0, taille)) {
    bilan.Annule = true;
    return bilan;
  }
  for (;;) {
    const char* base = bloc.data();
    const char* p = static_cast<const char*>(std::memchr(base + debut, '\n', fin - debut));
    std::string_view ligne, finLigne;
    if (p) {
      const size_t n = static_cast<size_t>(p - base) - debut;
      const bool cr = n > 0 && p[-1] == '\r';
      ligne = std::string_view(base + debut, n - (cr ? 1 : 0));
      finLigne = cr ? "\r\n" : "\n";
      debut += n + 1;
    } else if (!finFichier && (debut > 0 || fin < bloc.size())) {
      remplit();
      continue;
    } else if (!finFichier) {
      // A whole block without a line end: the line is refused and the rest of
      // it skipped.
      ligne = std::string_view(base, fin);
      debut = fin;
      tronquee = true;
    } else if (debut < fin) {
      ligne = std::string_view(base + debut, fin - debut);
      finLigne = "\n";
      debut = fin;
    } else {
      break;
    }
    if (tronquee) {
      ++bilan.Lignes;
      echec("Ligne trop longue");
      // The rest of the line up to its end is thrown away.
      for (;;) {
        debut = fin = 0;
        remplit();
        const char* q = static_cast<const char*>(std::memchr(bloc.data(), '\n', fin));
        if (q) {
          debut = static_cast<size_t>(q - bloc.data()) + 1;
          break;
        }
        if (finFichier) break;
      }
      tronquee = false;
      continue;
    }
    ++bilan.Lignes;
    lus += ligne.size() + finLigne.size();
    std::string& tampon = ecriture.Tampon();
    if (LigneRecopiee(ligne)) {
      tampon.append(ligne);
      tampon.append(finLigne);
    } else {
      if (convertisseur.Convertit(ligne, tampon, erreur)) {
        tampon.append(finLigne);
        ++bilan.Converties;
      } else {
        echec(erreur);
      }
    }
    ecriture.FinLigne();
    if (progression && (bilan.Lignes & 0x1FFF) == 0) {
      const long position = std::ftell(lecture.get());
      const uint64_t consommes =
          position > 0 ? static_cast<uint64_t>(position) - (fin - debut) : lus;
      if (!progression(consommes, taille)) {
        bilan.Annule = true;
        return bilan;
      }
    }
  }
  ecriture.Termine();
  if (progression) progression(taille, taille);
  return bilan;
}

std::vector<std::string> PremieresLignes(const std::string& chemin, size_t nombre) {
  TFichier lecture(std::fopen(chemin.c_str(), "rb"));
  if (!lecture) throw ErreurEntreeSortie("Impossible d'ouvrir le fichier " + chemin);
  std::string octets(size_t{1} << 16, '\0');
  octets.resize(std::fread(octets.data(), 1, octets.size(), lecture.get()));
  if (std::ferror(lecture.get())) throw ErreurEntreeSortie("Impossible de lire le fichier " + chemin);
  std::vector<std::string> lignes;
  std::string tampon;
  size_t debut = 0;
  while (lignes.size() < nombre && debut < octets.size()) {
    const size_t fin = std::min(octets.find('\n', debut), octets.size());
    std::string_view ligne(octets.data() + debut, fin - debut);
    if (!ligne.empty() && ligne.back() == '\r') ligne.remove_suffix(1);
    lignes.emplace_back(TexteSaisi(ligne, false, tampon));
    debut = fin + 1;
  }
  return lignes;
}

std::string CheminConverti(const std::string& entree) {
  const size_t barre = entree.find_last_of('/');
  const size_t point = entree.find_last_of('.');
  if (point == std::string::npos || (barre != std::string::npos && point < barre) ||
      point == (barre == std::string::npos ? 0 : barre + 1))
    return entree + "-converti";
  return entree.substr(0, point) + "-converti" + entree.substr(point);
}

}  // namespace vestrel
