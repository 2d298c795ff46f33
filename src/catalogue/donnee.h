#pragma once
// The catalogue: ellipsoids, datums, single-zone and multi-zone coordinate
// systems, their names, their edits and their data file. The road of a point
// between two of its systems is pipeline.h; the "Convertir" command,
// convertir.h; the start-up and the exit, demarrage.h.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "geodesy/datum.h"
#include "geodesy/ellipsoide.h"
#include "systems/multiple.h"
#include "systems/projection.h"
#include "tools/erreurs.h"
#include "tools/outils.h"

namespace vestrel {

// A system of the catalogue resolved once from its name: exactly one of the
// three pointers is set when found.
struct TSystemeResolu {
  TDatum* Datum = nullptr;              // geographic coordinates on a datum
  TProjection* Projection = nullptr;    // single-zone system
  TMultiple* Multiple = nullptr;        // multi-zone system
  bool Trouve() const { return Datum || Projection || Multiple; }
  bool Geographique() const { return Datum != nullptr; }
};

// A line of a data file that the catalogue could not use as a record.
struct TRejet {
  std::string Fichier;
  int Ligne = 0;        // from 1
  std::string Texte;    // the line as it was read, without its line end
  std::string Message;  // why it was refused
};
// "file, ligne N : message", one line per rejected line for the first ten,
// then how many more.
std::string TexteRejets(const std::vector<TRejet>& rejets);

// Names of one list of the catalogue → position of the last entry bearing
// each, for the look-ups.
struct TIndexNoms {
  std::unordered_map<std::string, int> Positions;
  size_t Taille = 0;  // entries of the list indexed so far
};

class TDonnees {
 public:
  // The built-ins "GRS 80" and "WGS84" only.
  TDonnees();
  ~TDonnees();
  TDonnees(const TDonnees&) = delete;
  TDonnees& operator=(const TDonnees&) = delete;

  // Read them freely; change them only through the edits below, which keep
  // the names unique and every dependent record up to date.
  std::vector<std::unique_ptr<TEllipsoide>> Ellipsoides;
  std::vector<std::unique_ptr<TDatum>> Datums;
  std::vector<std::unique_ptr<TProjection>> Projections;
  std::vector<std::unique_ptr<TMultiple>> Multiples;

  // Lines of the loaded data file that are not records the catalogue holds
  // (comments, lines it could not use), kept as they were read and written
  // back after the records, so that a load and a save lose nothing.
  std::vector<std::string> LignesGardees;
  // The data file the catalogue was loaded from and mirrors: a save over any
  // other existing file is a replacement the user must agree to.
  // A save makes the catalogue mirror the file it wrote, const as it is.
  mutable std::string Origine;
  // Fingerprint of Origine's bytes as this catalogue last loaded or saved
  // them: another window that saved the file since changes it, and this
  // catalogue must then not replace it without asking.
  mutable std::optional<size_t> EmpreinteOrigine;
  // Fingerprint of the bytes of the last file loaded.
  size_t EmpreinteLue = 0;
  // The last file loaded was in UTF-8 (an editor's choice) rather than in
  // Windows-1252: it was read as such, and is saved in Windows-1252.
  bool LuEnUtf8 = false;
  // Its lines holding characters that Windows-1252 cannot hold, each as
  // read after those were noted "<U+0141>" (NoteHorsWin1252), its start as
  // the message.
  std::vector<TRejet> LignesNotees;

  // ---- Data file ----
  // One record from the stream's position; raises on any error, the rest of
  // the line being consumed first so that reading may go on. A system whose
  // derived constants cannot be computed is kept, unusable (Valide false,
  // Defaut saying why): its parameters are the user's and are saved as read.
  void LitEnregistrement(TFlux& flux);
  // From the stream's start; the first error ends the load and propagates,
  // the records read before it stay.
  void ChargeFlux(TFlux& flux);
  // Appends every record but the built-ins, in list order, then the kept
  // lines (UTF-8, CR LF).
  void SauveFlux(std::string& sortie) const;
  // One record from a single line of text.
  void AjouteLigne(const std::string& ligne);
  // Raises ErreurConversion "%s est déjà utilisé" when an ellipsoid, a datum
  // or a system already bears the name.
  void VerifieNom(const std::string& nom) const;

  // Whole files on disk (Windows-1252), line by line: every line is one
  // record; empty lines, lines of blanks and comments (first character an
  // apostrophe) are none. A line that cannot be read as a record is
  // returned, and the reading goes on at the next line. With `garde` the
  // comments and the refused lines are kept in LignesGardees. A file that
  // cannot be read raises ErreurEntreeSortie.
  std::vector<TRejet> ChargeLignes(const std::string& chemin, bool garde);
  // The same, raising ErreurChargement (file, line, message) for the first
  // refused line once the whole file is read.
  void ChargeFichier(const std::string& chemin);
  // Writes a temporary file beside the target and renames it over it when
  // complete; on failure the old file is intact and the error is raised.
  // Written over Origine, the catalogue then mirrors it.
  void SauveFichier(const std::string& chemin) const;

  // ---- Look-ups (exact names; the last match wins) ----
  int IndiceEllipsoide(const std::string& nom) const;
  int IndiceDatum(const std::string& nom) const;
  int IndiceProjection(const std::string& nom) const;
  int IndiceMultiple(const std::string& nom) const;
  TEllipsoide* TrouveEllipsoide(const std::string& nom) const;
  TDatum* TrouveDatum(const std::string& nom) const;
  TAncetre* TrouveSysteme(const std::string& nom) const;
  std::string DescriptionDe(const std::string& nom) const;
  bool NomLibre(const std::string& nom) const;
  // Datums, then single-zone systems, then multi-zone systems.
  void ListeNoms(std::vector<std::string>& liste) const;
  // One warning per datum whose named grid is missing or unreadable: the
  // file, the reason, and that its parameters are used instead.
  std::vector<std::string> AvertissementsGrilles() const;
  TSystemeResolu Resout(const std::string& nom) const;

  // ---- Rules on what the data file can hold ----
  // Raises ErreurConversion when the text cannot be written in a record line
  // and read back: a double quote, a control character, or a character that
  // Windows-1252 cannot hold. `quoi` names the field ("Le nom"...).
  static void VerifieTexte(const std::string& texte, const char* quoi);
  // True when no record other than `soi` bears the name (ellipsoids, datums
  // and systems share one name space in the data file).
  bool NomDisponible(const std::string& nom, const void* soi = nullptr) const;
  // The prefix followed by the smallest n >= 1 that makes an available name.
  std::string NomPropose(const std::string& prefixe) const;
  // a finite and positive, 0 <= e < 1.
  static bool EllipsoideValide(double a, double e);

  // ---- Edits ----
  // Each checks first (texts, name, an ellipsoid's a and e, references to
  // records of this catalogue) and raises ErreurConversion with the message
  // to show, changing nothing; then it makes the change and brings every
  // record that depends on it up to date: the systems on an edited
  // ellipsoid or datum get their constants again (a system whose constants
  // can no longer be computed stays, unusable, saying why), the zones of a
  // multi-zone system are rebuilt. The built-ins are never replaced nor
  // removed.
  TEllipsoide& AjouteEllipsoide(std::unique_ptr<TEllipsoide> ellipsoide);
  TDatum& AjouteDatum(std::unique_ptr<TDatum> datum);
  // A single-zone or a multi-zone system, by its kind, at the end of its
  // list. Its constants must be computed (SetValide(true)).
  TAncetre& AjouteSysteme(std::unique_ptr<TAncetre> systeme);
  // The entry keeps its place and its identity (the records using it keep
  // pointing at it) and takes the values of `valeurs`.
  void RemplaceEllipsoide(TEllipsoide& entree, const TEllipsoide& valeurs);
  // The same; the grid moves over from `valeurs` when it names the same file.
  void RemplaceDatum(TDatum& entree, TDatum& valeurs);
  // The new system takes the place of the old one, which is destroyed.
  TAncetre& RemplaceSysteme(const TAncetre& ancien, std::unique_ptr<TAncetre> nouveau);
  // Remove the last entry of that name when nothing uses it; false when it
  // is in use, unknown, or the built-in entry 0.
  bool SupprimeEllipsoide(const std::string& nom);
  bool SupprimeDatum(const std::string& nom);
  // False when the system is not in the catalogue.
  bool SupprimeSysteme(const TAncetre& systeme);
  // Back to the built-ins only; the kept lines go too. Origine stays.
  void Reinitialise();
  // The user's records and refused lines: what Reinitialise removes.
  size_t NombreEnregistrements() const;

 private:
  // The constants of every system for which `depend` is true, again.
  void MetAJour(const std::function<bool(const TAncetre&)>& depend);
  // The name indexes of the four lists follow their growth at each look-up
  // (a load appends), so that reading stays linear however many records a
  // file holds; an edit that renames, replaces or removes entries forgets
  // them and they are built again at the next look-up.
  mutable TIndexNoms indexEllipsoides_, indexDatums_, indexProjections_, indexMultiples_;
  void OublieIndex();
  struct TOubliIndex;

 public:

  // ---- Conversion pipeline (texts; with the road of a point, pipeline.cpp) ----
  // zone: the Paris flag (1) for a datum, the zone number for a multi-zone
  // system, ignored otherwise. Each returns false when a name is not found.
  bool SystemeVersWGS84(const std::string& nom, int32_t zone, double premiere, double seconde,
                        double& X, double& Y, double& Z) const;
  bool WGS84VersSysteme(const std::string& nom, int32_t& zone, double X, double Y, double Z,
                        double& premiere, double& seconde) const;
  bool LireDepart(const std::string& nom, const std::string& texteX, const std::string& texteY,
                  int32_t zone, double& X, double& Y, double& Z) const;
  bool EcrireArrivee(const std::string& nom, int32_t& zone, double X, double Y, double Z,
                     int unite, std::string& texteX, std::string& texteY) const;
  bool ConvertirPoint(const std::string& source, const std::string& destination,
                      const std::string& texteX, const std::string& texteY, int32_t zoneSource,
                      int32_t& zoneDestination, int unite, std::string& sortieX,
                      std::string& sortieY) const;
  bool Convergence(const std::string& source, const std::string& destination,
                   const std::string& texteX, const std::string& texteY, int32_t zoneSource,
                   int unite, std::string& texte) const;
  bool AlterationLineaire(const std::string& source, const std::string& destination,
                          const std::string& texteX, const std::string& texteY,
                          int32_t zoneSource, double& alteration) const;
};

// A data file that did not load: the first line refused.
class ErreurChargement : public ErreurConversion {
 public:
  ErreurChargement(std::string fichier, int ligne, const std::string& message);
  std::string Fichier;
  int Ligne;
  std::string MessageRecord;
};

}  // namespace vestrel
