#include "systems/transmercator.h"

#include "geodesy/geodesie.h"
#include "tools/flottant.h"

namespace vestrel {

void TTransverseMercator::CalculeConstantes() {
  if (!Valide) return;
  GardeFlottante garde;
  const double n0 = k0 * DemiGrandAxe();
  const double Y0equateur = Y0 - n0 * ArcMeridien(Phi0.Valeur, Excentricite());
  garde.Verifie();
  n = n0;
  XEquateur = X0;
  YEquateur = Y0equateur;
  LandaC.Ecrit(Landa0.Texte);
  TTransverseMercatorBrut::CalculeConstantes();
}

}  // namespace vestrel
