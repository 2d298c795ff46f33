#include "systems/createur.h"

#include <array>

#include "geodesy/datum.h"
#include "tools/erreurs.h"

// The kinds, family by family. Adding a kind: its include here and its row in
// the table below.
#include "systems/lambert.h"
#include "systems/lambert_oblic.h"
#include "systems/lambert_sec.h"
#include "systems/lambert_tan.h"
#include "systems/mercator_multi.h"
#include "systems/mtm.h"
#include "systems/projlatlong.h"
#include "systems/rosenmund.h"
#include "systems/laborde.h"
#include "systems/laborde_courbure.h"
#include "systems/laborde_equatoriale.h"
#include "systems/laborde_bitan.h"
#include "systems/stereographic.h"
#include "systems/stereo_courbure.h"
#include "systems/stereo_equatoriale.h"
#include "systems/stereo_bitan.h"
#include "systems/stereo_polaire.h"
#include "systems/transmercator.h"
#include "systems/transmercator_brut.h"
#include "systems/utm.h"
#include "systems/laborde_oblic.h"
#include "systems/hotine.h"
#include "systems/hotine_centre.h"
#include "systems/newzealand.h"
#include "systems/bonne.h"
#include "systems/mercator_sphere.h"

namespace vestrel {

namespace {

template <class T>
std::unique_ptr<TProjection> Cree() {
  return std::make_unique<T>();
}
template <class T>
std::unique_ptr<TMultiple> CreeM() {
  return std::make_unique<T>();
}

const TTypeProjection kTypesProjection[] = {
    // Lambert conic family
    {"Lambert Conique", Cree<TLambert>},
    {"Lambert Conique Tangent", Cree<TLambert_tan>},
    {"Lambert Conique Sécant", Cree<TLambert_sec>},
    {"Lambert Conique Oblique", Cree<TLambert_oblic>},

    // Transverse Mercator family
    {"Transverse Mercator Brut", Cree<TTransverseMercatorBrut>},
    {"Transverse Mercator", Cree<TTransverseMercator>},
    {"UTM Fuseau", Cree<TUTM>},
    {"MTM Fuseau", Cree<Tmtm>},

    // Gauss-Laborde family and Gauss-Rosenmund
    {"Gauss Rosenmund", Cree<TRosenmund>},
    {"Gauss Laborde", Cree<TLaborde>},
    {"Gauss Laborde Courbure", Cree<TLaborde_courbure>},
    {"Gauss Laborde Equatoriale", Cree<TLaborde_equatoriale>},
    {"Gauss Laborde Bitangente", Cree<TLaborde_bitan>},

    // Oblique cylindrical family
    {"Gauss Laborde Oblique", Cree<TLabordeOblic>},
    {"Hotine", Cree<THotine>},
    {"Hotine centré", Cree<THotineCentre>},

    // Stereographic family
    {"Stéréographique", Cree<TStereographic>},
    {"Stéréographique Courbure", Cree<TStereo_courbure>},
    {"Stéréographique Equatoriale", Cree<TStereo_equatoriale>},
    {"Stéréographique Bitangente", Cree<TStereo_bitan>},
    {"Stéréographique Polaire", Cree<TStereo_polaire>},

    // New Zealand Map Grid, Bonne, Mercator on a sphere
    {"New Zealand Map Grid", Cree<TNewZealand>},
    {"Bonne", Cree<TBonne>},
    {"Mercator sur sphère", Cree<TMercator_sphere>},

    {"Projection Latitude/Longitude", Cree<TProj_LatLonj>},
};

// Multi-zone kinds.
const TTypeMultiple kTypesMultiple[] = {
    {"Transverse Mercator Multiple", CreeM<TMultipleMercator>},
};

}  // namespace

std::span<const TTypeProjection> TypesProjection() { return kTypesProjection; }

std::span<const TTypeMultiple> TypesMultiple() { return kTypesMultiple; }

std::unique_ptr<TProjection> CreeProjection(const std::string& nature) {
  for (const auto& type : TypesProjection())
    if (nature == type.Nature) return type.Cree();
  return nullptr;
}

std::unique_ptr<TMultiple> CreeMultiple(const std::string& nature) {
  for (const auto& type : TypesMultiple())
    if (nature == type.Nature) return type.Cree();
  return nullptr;
}

namespace {
std::unique_ptr<TAncetre> CreeSysteme(const std::string& nature) {
  if (auto p = CreeProjection(nature)) return p;
  return CreeMultiple(nature);
}
}  // namespace

int NombreParametres(const std::string& nature) {
  try {
    auto s = CreeSysteme(nature);
    return s ? s->NbParametres() : -1;
  } catch (const Erreur&) {
    return -1;
  }
}

std::string NomParametre(const std::string& nature, int indice) {
  try {
    auto s = CreeSysteme(nature);
    return s ? s->NomParametre(indice) : std::string();
  } catch (const Erreur&) {
    return {};
  }
}

void Ecriture(const TAncetre& systeme, std::string& sortie) {
  sortie += dynamic_cast<const TMultiple*>(&systeme) ? "Multiple" : "Projection";
  sortie += " \"";
  sortie += systeme.Nature();
  sortie += "\"=\"";
  sortie += systeme.Nom;
  sortie += "\" \"";
  sortie += systeme.Description;
  sortie += "\" \"";
  if (systeme.Datum) sortie += systeme.Datum->Nom;
  sortie += '"';
  for (int i = 0; i < systeme.NbParametres(); ++i) {
    sortie += ' ';
    sortie += systeme.TexteParametre(i);
  }
  sortie += "\r\n";
}

void LitParametres(TAncetre& systeme, TFlux& flux,
                   const std::vector<std::unique_ptr<TDatum>>& datums) {
  LitParametres(systeme, flux, [&datums](const std::string& nom) -> TDatum* {
    for (const auto& d : datums)
      if (d->Nom == nom) return d.get();
    return nullptr;
  });
}

void LitParametres(TAncetre& systeme, TFlux& flux,
                   const std::function<TDatum*(const std::string&)>& trouveDatum) {
  systeme.SetValide(false);
  std::vector<std::string> jetons;
  DecoupeLigne(LitLigne(flux), jetons);
  const int nombre = systeme.NbParametres();
  if (static_cast<int>(jetons.size()) != nombre + 3)
    throw ErreurIntervalle("Nombre incorrect de paramètres lors de la lecture d'une projection");
  systeme.Nom = jetons[0];
  systeme.Description = jetons[1];
  TDatum* datum = trouveDatum(jetons[2]);
  if (!datum)
    throw ErreurIntervalle("Datum " + Extrait(jetons[2]) + " inconnu dans la projection " +
                           Extrait(jetons[0]));
  systeme.Datum = datum;
  for (int i = 0; i < nombre; ++i) systeme.EcritParametre(i, jetons[3 + static_cast<size_t>(i)]);
}

void Lecture(TAncetre& systeme, TFlux& flux, const std::vector<std::unique_ptr<TDatum>>& datums) {
  LitParametres(systeme, flux, datums);
  systeme.SetValide(true);
}

}  // namespace vestrel
