#include "catalogue/autotest.h"
#include "catalogue/pipeline.h"

#include <cmath>

#include "catalogue/epsg.h"
#include "tools/chemins.h"
#include "tools/codec.h"
#include "tools/nombres.h"

namespace vestrel {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Metres per radian of arc on the ground, for the gap between two geographic
// points a few metres apart (the tolerance is not finer than 0.5 %).
constexpr double kRayon = 6378137;

std::string Rogne(std::string_view texte) {
  const size_t debut = texte.find_first_not_of(" \t");
  if (debut == std::string_view::npos) return "";
  return std::string(texte.substr(debut, texte.find_last_not_of(" \t") - debut + 1));
}

std::vector<std::string> Champs(std::string_view ligne) {
  std::vector<std::string> champs;
  for (size_t debut = 0;;) {
    const size_t fin = ligne.find('|', debut);
    champs.push_back(Rogne(ligne.substr(debut, fin - debut)));
    if (fin == std::string_view::npos) return champs;
    debut = fin + 1;
  }
}

// X, Y and the optional zone of a point field.
struct TTextePoint {
  std::string X, Y;
  int32_t Zone = 0;
  bool AvecZone = false;
};

TTextePoint LitPoint(const std::string& champ) {
  std::vector<std::string> mots;
  DecoupeLigne(champ, mots);
  if (mots.size() != 2 && mots.size() != 3) throw ErreurConversion("point incorrect : " + champ);
  TTextePoint p{mots[0], mots[1]};
  if (mots.size() == 3) {
    p.Zone = LitEntier(mots[2]);
    p.AvecZone = true;
  }
  return p;
}

std::string TexteObtenu(const TSystemeResolu& s, const TPointConverti& r, bool avecZone) {
  std::string texte;
  if (s.Geographique()) {
    texte = FormatF(r.X * 180 / kPi, 9) + "° " + FormatF(r.Y * 180 / kPi, 9) + "°";
  } else {
    texte = FormatF(r.X, 4) + " " + FormatF(r.Y, 4);
  }
  if (avecZone) texte += " " + FormatD(r.Zone);
  return texte;
}

void Convertit(const TDonnees& donnees, const TTextePoint& entree, const TTextePoint& attendu,
               TPointAutotest& point) {
  const TSystemeResolu depart = ResoutNomOuCode(donnees, point.Depart);
  const TSystemeResolu arrivee = ResoutNomOuCode(donnees, point.Arrivee);
  for (const auto* nom : {&point.Depart, &point.Arrivee}) {
    if ((nom == &point.Depart ? depart : arrivee).Trouve()) continue;
    point.Etat = TPointAutotest::Absent;
    point.Message = "système absent du catalogue : " + *nom;
    return;
  }
  if (depart.Multiple && !entree.AvecZone)
    throw ErreurConversion("le fuseau de départ manque");
  double premiere = 0, seconde = 0, attenduX = 0, attenduY = 0;
  LitPointDepart(depart, entree.X, entree.Y, premiere, seconde);
  LitPointDepart(arrivee, attendu.X, attendu.Y, attenduX, attenduY);  // radians on a datum
  TPointConverti resultat;
  ConvertitPoint(depart, depart.Multiple ? entree.Zone : 0, arrivee, false, premiere, seconde,
                 false, resultat);
  point.Obtenu = TexteObtenu(arrivee, resultat, attendu.AvecZone);
  if (arrivee.Geographique()) {
    const double dN = (resultat.X - attenduX) * kRayon;
    const double dE = std::remainder(resultat.Y - attenduY, 2 * kPi) * kRayon * std::cos(attenduX);
    point.Ecart = std::hypot(dN, dE);
  } else {
    point.Ecart = std::hypot(resultat.X - attenduX, resultat.Y - attenduY);
  }
  const bool zoneJuste = !attendu.AvecZone || resultat.Zone == attendu.Zone;
  point.Etat = point.Ecart <= point.Tolerance && zoneJuste ? TPointAutotest::Reussi
                                                           : TPointAutotest::Echec;
  if (!zoneJuste) point.Message = "fuseau " + FormatD(resultat.Zone) + " au lieu de " + FormatD(attendu.Zone);
}

}  // namespace

TAutotest Autotest(const TDonnees& donnees, const std::string& fichier) {
  const std::string texte = Win1252VersUtf8(LitFichier(fichier));
  TAutotest autotest;
  int numero = 0;
  for (size_t debut = 0; debut < texte.size();) {
    size_t fin = texte.find_first_of("\r\n", debut);
    if (fin == std::string::npos) fin = texte.size();
    const std::string ligne = Rogne(std::string_view(texte).substr(debut, fin - debut));
    // CR LF, LF and CR each end one line.
    debut = fin + (texte.compare(fin, 2, "\r\n") == 0 ? 2 : 1);
    ++numero;
    if (ligne.empty() || ligne[0] == '#') continue;
    const std::vector<std::string> champs = Champs(ligne);
    TPointAutotest point;
    point.Ligne = numero;
    TTextePoint entree, attendu;
    try {
      if (champs.size() != 6) throw ErreurConversion("6 champs attendus");
      point.Depart = champs[0];
      point.Arrivee = champs[1];
      point.Entree = champs[2];
      point.Attendu = champs[3];
      point.Tolerance = LitReel(champs[4]);
      point.Source = champs[5];
      entree = LitPoint(champs[2]);
      attendu = LitPoint(champs[3]);
    } catch (const Erreur& e) {
      throw ErreurConversion(fichier + ", ligne " + FormatD(numero) + " : " + e.what());
    }
    try {
      Convertit(donnees, entree, attendu, point);
    } catch (const Erreur& e) {
      // A system that is there but does not convert, a code carried twice.
      point.Etat = TPointAutotest::Echec;
      point.Message = e.what();
    }
    ++(point.Etat == TPointAutotest::Reussi  ? autotest.Reussis
       : point.Etat == TPointAutotest::Echec ? autotest.Echecs
                                             : autotest.Absents);
    autotest.Points.push_back(std::move(point));
  }
  return autotest;
}

std::string TextePoint(const TPointAutotest& p) {
  const char* etat = p.Etat == TPointAutotest::Reussi ? "OK    "
                     : p.Etat == TPointAutotest::Echec ? "ÉCHEC "
                                                       : "ABSENT";
  std::string texte = std::string(etat) + " " + p.Depart + " → " + p.Arrivee + " : " + p.Entree +
                      " (" + p.Source + ")\n       attendu " + p.Attendu;
  if (!p.Obtenu.empty())
    texte += ", obtenu " + p.Obtenu + ", écart " + FormatF(p.Ecart, 4) + " m (tolérance " +
             FormatG(p.Tolerance, 6) + " m)";
  if (!p.Message.empty()) texte += (p.Obtenu.empty() ? ", " : "; ") + p.Message;
  return texte + "\n";
}

std::string TexteBilan(const TAutotest& a) {
  std::string texte = FormatD(static_cast<long long>(a.Points.size())) + " points de référence : " +
                      FormatD(a.Reussis) + " OK, " + FormatD(a.Echecs) + " en échec";
  if (a.Absents) texte += ", " + FormatD(a.Absents) + " absents du catalogue";
  texte += a.Reussi() ? ". Autotest réussi.\n" : ". Autotest en échec.\n";
  return texte;
}

}  // namespace vestrel
