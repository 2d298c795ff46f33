// The catalogue of a run, the "systemes" list and the "verifier" check.
#include <unistd.h>

#include "catalogue/autotest.h"
#include "catalogue/donnee.h"
#include "catalogue/demarrage.h"
#include "catalogue/epsg.h"
#include "catalogue/fichier_ini.h"
#include "cli/cli.h"
#include "tools/chemins.h"
#include "tools/codec.h"

namespace vestrel::cli {

void ChargeCatalogue(TDonnees& donnees, const std::optional<std::string>& fichier) {
  if (fichier) {
    // A partial catalogue would convert with the wrong systems: any failing
    // record ends the run.
    try {
      donnees.ChargeFichier(*fichier);
    } catch (const std::exception& e) {
      throw ErreurFatale{std::string("Catalogue illisible : ") + e.what()};
    }
  } else {
    // The window's start-up catalogue, with the window's settings; a run
    // only reads them and creates no folder.
    TFichierIni ini("vestrel", false);
    if (!ini.Probleme.empty()) TRapport().Message("Avertissement : " + ini.Probleme);
    ini.LitFichier();
    TDemarrage demarrage = ChargeAuDemarrage(donnees, ini);
    for (const TRejet& rejet : demarrage.Rejets)
      TRapport().Message("Avertissement : " + TexteRejets({rejet}));
    if (demarrage.Illisible) TRapport().Message("Avertissement : " + *demarrage.Illisible);
  }
  for (const std::string& avertissement : donnees.AvertissementsGrilles())
    TRapport().Message("Avertissement : " + avertissement);
}

int Systemes(const std::optional<std::string>& catalogue) {
  TDonnees donnees;
  ChargeCatalogue(donnees, catalogue);
  TEcrivain sortie(STDOUT_FILENO, false);
  auto ligne = [&](const std::string& nom, std::string_view genre, std::string_view nature,
                   const std::string& description) {
    sortie.Ajoute(nom);
    sortie.Ajoute('\t');
    sortie.Ajoute(genre);
    sortie.Ajoute('\t');
    sortie.Ajoute(nature);
    sortie.Ajoute('\t');
    if (const auto code = CodeEPSG(description)) sortie.Ajoute("EPSG:" + std::to_string(*code));
    sortie.Ajoute('\t');
    sortie.Ajoute(description);
    sortie.Ajoute('\n');
    sortie.FinLigne();
  };
  // The order of the window's choices (ListeNoms).
  for (const auto& d : donnees.Datums) ligne(d->Nom, "datum", "", d->Description);
  for (const auto& p : donnees.Projections) ligne(p->Nom, "projection", p->Nature(), p->Description);
  for (const auto& m : donnees.Multiples) ligne(m->Nom, "multiple", m->Nature(), m->Description);
  sortie.Vide();
  return kSucces;
}

int Autotest(const std::optional<std::string>& catalogue,
             const std::optional<std::string>& references) {
  TDonnees donnees;
  ChargeCatalogue(donnees, catalogue);
  const std::string fichier = references ? *references : CheminDonneesProgramme(kFichierAutotest);
  TAutotest autotest;
  try {
    autotest = vestrel::Autotest(donnees, fichier);
  } catch (const Erreur& e) {
    throw ErreurFatale{e.what()};
  }
  TEcrivain sortie(STDOUT_FILENO, false);
  for (const TPointAutotest& point : autotest.Points) sortie.Ajoute(TextePoint(point));
  sortie.Ajoute(TexteBilan(autotest));
  sortie.Vide();
  return autotest.Reussi() ? kSucces : kEchecPartiel;
}

int Verifier(const std::string& fichier) {
  std::string octets;
  try {
    octets = LitFichier(fichier);
  } catch (const std::exception& e) {
    throw ErreurFatale{e.what()};
  }
  bool utf8 = false;
  TFlux flux(TexteDuFichier(octets, utf8));
  const std::string& contenu = flux.Contenu();
  TDonnees donnees;
  TEcrivain sortie(STDOUT_FILENO, false);
  int enregistrements = 0, echecs = 0;
  // Line of the record's first byte: CR LF, CR and LF each end a line.
  size_t compte = 0;
  int ligne = 1;
  while (!flux.Fin()) {
    size_t debut = flux.Position();
    for (; compte < debut; ++compte) {
      if (contenu[compte] == '\n' || (contenu[compte] == '\r' &&
                                      (compte + 1 >= contenu.size() || contenu[compte + 1] != '\n')))
        ++ligne;
    }
    ++enregistrements;
    try {
      donnees.LitEnregistrement(flux);
    } catch (const std::exception& e) {
      ++echecs;
      sortie.Ajoute("ligne " + std::to_string(ligne) + " : " + e.what() + "\n");
    }
    if (flux.Position() == debut) break;  // nothing consumed: nothing more to read
  }
  sortie.Ajoute(fichier + " : " + std::to_string(enregistrements) + " enregistrement(s), " +
                std::to_string(echecs) + " en erreur\n");
  sortie.Vide();
  return echecs ? kEchecPartiel : kSucces;
}

}  // namespace vestrel::cli
