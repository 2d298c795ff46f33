// The "Convertir" command: the window's choices and texts read, the point
// and its neighbour converted once each, and what was computed shown even
// when a later step fails.
#include "catalogue/convertir.h"

#include "catalogue/pipeline.h"
#include "tools/nombres.h"

namespace vestrel {

void Convertir(const TDonnees& donnees, const TSaisieConversion& saisie,
               TResultatConversion& resultat) {
  // The unit choices are listed in another order than the display units.
  static constexpr int kUnites[] = {uaDegres, uaDM, uaDMS, uaGrades};
  if (saisie.IndiceUnite < 0 || saisie.IndiceUnite > 3)
    throw ErreurConversion("Unité d'angle inconnue");
  const int unite = kUnites[saisie.IndiceUnite];

  const int nbDatums = static_cast<int>(donnees.Datums.size());
  const int nbProjections = static_cast<int>(donnees.Projections.size());
  const bool multipleDestination = saisie.IndiceDestination >= nbDatums + nbProjections;

  // Source zone: the Paris flag on a datum; otherwise the zone text, which
  // matters only while its edit is enabled (a multi-zone source).
  const TSystemeResolu depart = donnees.Resout(saisie.Source);
  int32_t zoneSource = 0;
  if (saisie.IndiceSource < nbDatums) {
    zoneSource = saisie.ParisSource ? 1 : 0;
  } else if (!EssaieLitEntier(saisie.FuseauSource, zoneSource)) {
    zoneSource = 0;
    if (saisie.FuseauSourceActif) {
      resultat.FocusFuseauSource = true;
      throw ErreurConversion("Le numéro de fuseau de départ est incorrect, exemple 12");
    }
  }
  if (saisie.FuseauSourceActif) {
    try {
      VerifieZone(depart, zoneSource);
    } catch (const ErreurIntervalle&) {
      resultat.FocusFuseauSource = true;
      throw;
    }
  }
  const bool parisDestination = saisie.IndiceDestination < nbDatums && saisie.ParisDestination;
  // Destination zone: chosen from the point when its text is empty, else the
  // zone typed, which the system must have.
  int32_t zoneImposee = 0;
  if (multipleDestination && !saisie.FuseauDestination.empty()) {
    if (!EssaieLitEntier(saisie.FuseauDestination, zoneImposee) || zoneImposee == 0) {
      resultat.FocusFuseauDestination = true;
      throw ErreurConversion(
          "Le numéro de fuseau d'arrivée est incorrect, exemple 12 (vide : le fuseau du point)");
    }
    try {
      VerifieZone(donnees.Resout(saisie.Destination), zoneImposee, true);
    } catch (const ErreurIntervalle&) {
      resultat.FocusFuseauDestination = true;
      throw;
    }
  }

  double premiere = 0, seconde = 0;
  LitPointDepart(depart, saisie.XSource, saisie.YSource, premiere, seconde);
  const TSystemeResolu arrivee = donnees.Resout(saisie.Destination);
  if (!depart.Trouve() || !arrivee.Trouve()) {
    // Nothing to convert: empty texts and an alteration of 0.
    resultat.XDest = resultat.YDest = resultat.Convergence = "";
    resultat.Alteration = TexteAlteration(0);
    resultat.EcartEchelle = TexteEcartEchelle(0);
    if (multipleDestination) resultat.FuseauDest = FormatD(parisDestination ? 1 : 0);
    return;
  }

  // The point and its neighbour, each once; what was computed before an
  // error is shown.
  TPointConverti point;
  point.ZoneImposee = zoneImposee;
  auto montre = [&] {
    if (point.Etapes >= 1) {
      if (arrivee.Geographique() && (unite < uaDegres || unite > uaDM)) {
        resultat.XDest = resultat.YDest = "";
      } else {
        resultat.XDest = TexteCoordonnee(arrivee, point.X, unite);
        resultat.YDest = TexteCoordonnee(arrivee, point.Y, unite);
      }
    }
    if (point.Etapes >= 2) resultat.Convergence = AngleVersTexte(unite, point.Convergence);
    if (point.Etapes >= 3) {
      resultat.Alteration = TexteAlteration(point.Alteration);
      resultat.EcartEchelle = TexteEcartEchelle(point.Alteration);
      if (multipleDestination) resultat.FuseauDest = FormatD(point.Zone);
      resultat.Methode =
          TexteMethode(depart, arrivee, point.HorsGrilleDepart, point.HorsGrilleArrivee);
      resultat.Avertissement = TexteEloigne(depart, arrivee, point);
    }
  };
  try {
    ConvertitPoint(depart, zoneSource, arrivee, parisDestination, premiere, seconde, true, point);
  } catch (...) {
    montre();
    throw;
  }
  montre();
}

}  // namespace vestrel
