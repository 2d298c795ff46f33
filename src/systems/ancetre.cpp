#include "systems/ancetre.h"

#include <utility>

#include "geodesy/datum.h"
#include "tools/erreurs.h"
#include "tools/flottant.h"
#include "tools/nombres.h"

namespace vestrel {

namespace {

constexpr const char* kDemande = "Demande de paramètre hors-limites";
constexpr const char* kEcriture = "Écriture de paramètre hors-limites";

template <class T>
const TParametres::Entree<T>& Lue(const TParametres::Liste<T>& liste, int indice) {
  if (indice < 0 || indice >= liste.Nombre) throw ErreurIntervalle(kDemande);
  return liste.Entrees[indice];
}

}  // namespace

TParametres TAncetre::Table() const {
  TParametres p;
  // Describing the table does not change the object: it only takes the
  // addresses of its fields.
  const_cast<TAncetre*>(this)->DecritParametres(p);
  return p;
}

void TAncetre::Recalcule() {
  GardeFlottante garde;
  CalculeConstantes();
  garde.Verifie();
}

void TAncetre::SetValide(bool valide) {
  Valide = valide;
  try {
    Recalcule();
    Defaut.clear();
  } catch (const std::exception& erreur) {
    Valide = false;
    Defaut = erreur.what();
    throw;
  }
}

template <class T, class Ecriture>
void TAncetre::Ecrit(TParametres::Liste<T> TParametres::*liste, int indice, Ecriture ecriture) {
  TParametres p = Table();
  if (indice < 0 || indice >= (p.*liste).Nombre) {
    SetValide(false);
    throw ErreurIntervalle(kEcriture);
  }
  try {
    ecriture(*(p.*liste).Entrees[indice].Champ);
    Recalcule();
  } catch (const std::exception& erreur) {
    Valide = false;
    Defaut = erreur.what();
    throw;
  }
}

int TAncetre::NbReel() const { return Table().Reels.Nombre; }
double TAncetre::GetReel(int indice) const { return *Lue(Table().Reels, indice).Champ; }
void TAncetre::SetReel(int indice, double valeur) {
  Ecrit(&TParametres::Reels, indice, [&](double& champ) { champ = valeur; });
}
std::string TAncetre::NomReel(int indice) const { return Lue(Table().Reels, indice).Nom; }

int TAncetre::NbEntier() const { return Table().Entiers.Nombre; }
int32_t TAncetre::GetEntier(int indice) const { return *Lue(Table().Entiers, indice).Champ; }
void TAncetre::SetEntier(int indice, int32_t valeur) {
  Ecrit(&TParametres::Entiers, indice, [&](int32_t& champ) { champ = valeur; });
}
std::string TAncetre::NomEntier(int indice) const { return Lue(Table().Entiers, indice).Nom; }

int TAncetre::NbAngle() const { return Table().Angles.Nombre; }
std::string TAncetre::GetAngle(int indice) const { return Lue(Table().Angles, indice).Champ->Texte; }
void TAncetre::SetAngle(int indice, const std::string& texte) {
  Ecrit(&TParametres::Angles, indice, [&](TAngle& champ) { champ.Ecrit(texte); });
}
std::string TAncetre::NomAngle(int indice) const { return Lue(Table().Angles, indice).Nom; }

int TAncetre::NbBooleen() const { return Table().Booleens.Nombre; }
bool TAncetre::GetBooleen(int indice) const { return *Lue(Table().Booleens, indice).Champ; }
void TAncetre::SetBooleen(int indice, bool valeur) {
  Ecrit(&TParametres::Booleens, indice, [&](bool& champ) { champ = valeur; });
}
std::string TAncetre::NomBooleen(int indice) const { return Lue(Table().Booleens, indice).Nom; }

int TAncetre::NbParametres() const { return NbReel() + NbEntier() + NbAngle() + NbBooleen(); }

bool TAncetre::Place(int i, TSorte& sorte, int& rang) const {
  const TParametres p = Table();
  if (i < 0) return false;
  for (auto [s, nombre] : {std::pair{TSorte::Reel, p.Reels.Nombre}, {TSorte::Entier, p.Entiers.Nombre},
                           {TSorte::Angle, p.Angles.Nombre}, {TSorte::Booleen, p.Booleens.Nombre}}) {
    if (i < nombre) {
      sorte = s;
      rang = i;
      return true;
    }
    i -= nombre;
  }
  return false;
}

std::string TAncetre::NomParametre(int i) const {
  TSorte sorte;
  int rang;
  if (!Place(i, sorte, rang)) return {};
  switch (sorte) {
    case TSorte::Reel: return NomReel(rang);
    case TSorte::Entier: return NomEntier(rang);
    case TSorte::Angle: return NomAngle(rang);
    case TSorte::Booleen: break;
  }
  return NomBooleen(rang);
}

TAncetre::TSorte TAncetre::SorteParametre(int i) const {
  TSorte sorte;
  int rang;
  if (!Place(i, sorte, rang)) throw ErreurIntervalle(kDemande);
  return sorte;
}

std::string TAncetre::TexteParametre(int i) const {
  TSorte sorte;
  int rang;
  if (!Place(i, sorte, rang)) throw ErreurIntervalle(kDemande);
  switch (sorte) {
    case TSorte::Reel: return FormatG(GetReel(rang), 12);
    case TSorte::Entier: return FormatD(GetEntier(rang));
    case TSorte::Angle: return GetAngle(rang);
    case TSorte::Booleen: break;
  }
  return GetBooleen(rang) ? "1" : "0";
}

void TAncetre::EcritParametre(int i, const std::string& texte) {
  TSorte sorte;
  int rang;
  if (!Place(i, sorte, rang)) {
    SetValide(false);
    throw ErreurIntervalle(kEcriture);
  }
  switch (sorte) {
    case TSorte::Reel: return SetReel(rang, LitReel(texte));
    case TSorte::Entier: return SetEntier(rang, LitEntier(texte));
    case TSorte::Angle: return SetAngle(rang, texte);
    case TSorte::Booleen: break;
  }
  SetBooleen(rang, texte == "1");
}

double TAncetre::DemiGrandAxe() const { return Datum->Ellipsoide->A; }
double TAncetre::Excentricite() const { return Datum->Ellipsoide->E; }

}  // namespace vestrel
