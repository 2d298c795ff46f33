#pragma once
// The root of every coordinate system: name, description, datum, validity
// flag, and the uniform parameter interface by index in four kinds (real,
// integer, angle, boolean) through which the record line, the factory and the
// editor handle any kind without knowing it.
//
// A kind describes its parameters once, in DecritParametres; this class
// serves the index interface from that table, raises the range errors, keeps
// the angle texts beside their values and calls CalculeConstantes after every
// successful write and every SetValide.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "tools/outils.h"

namespace vestrel {

class TDatum;

// An angle parameter: its text exactly as last stored, and its value.
struct TAngle {
  std::string Texte;
  double Valeur = 0;  // radians
  // Stores the text, then parses it. On failure the new text stays and the
  // previous value is kept.
  void Ecrit(std::string_view texte) {
    Texte = texte;
    Valeur = TexteVersAngle(texte);
  }
};

// The parameter table of one kind: names and the fields they designate, in
// index order within each kind of parameter.
class TParametres {
 public:
  static constexpr int Capacite = 16;
  template <class T>
  struct Entree {
    const char* Nom = nullptr;
    T* Champ = nullptr;
  };
  template <class T>
  struct Liste {
    std::array<Entree<T>, Capacite> Entrees{};
    int Nombre = 0;
    void Ajoute(const char* nom, T& champ) { Entrees[Nombre++] = {nom, &champ}; }
  };

  TParametres& Reel(const char* nom, double& champ) { Reels.Ajoute(nom, champ); return *this; }
  TParametres& Entier(const char* nom, int32_t& champ) { Entiers.Ajoute(nom, champ); return *this; }
  TParametres& Angle(const char* nom, TAngle& champ) { Angles.Ajoute(nom, champ); return *this; }
  TParametres& Booleen(const char* nom, bool& champ) { Booleens.Ajoute(nom, champ); return *this; }

  Liste<double> Reels;
  Liste<int32_t> Entiers;
  Liste<TAngle> Angles;
  Liste<bool> Booleens;
};

class TAncetre {
 public:
  TAncetre() = default;
  TAncetre(const TAncetre&) = delete;
  TAncetre& operator=(const TAncetre&) = delete;
  virtual ~TAncetre() = default;

  TDatum* Datum = nullptr;  // not owned
  std::string Nom;
  std::string Description;
  bool Valide = false;
  // Why the last SetValide or parameter write failed (the error's message),
  // empty after a success: a system whose constants cannot be computed says
  // why when it is asked to convert.
  std::string Defaut;

  // Parameter interface. Get and Nom with an index out of range raise
  // ErreurIntervalle "Demande de paramètre hors-limites"; Set clears the
  // validity first and raises "Écriture de paramètre hors-limites".
  virtual int NbReel() const;
  virtual double GetReel(int indice) const;
  virtual void SetReel(int indice, double valeur);
  virtual std::string NomReel(int indice) const;
  virtual int NbEntier() const;
  virtual int32_t GetEntier(int indice) const;
  virtual void SetEntier(int indice, int32_t valeur);
  virtual std::string NomEntier(int indice) const;
  virtual int NbAngle() const;
  virtual std::string GetAngle(int indice) const;
  virtual void SetAngle(int indice, const std::string& texte);
  virtual std::string NomAngle(int indice) const;
  virtual int NbBooleen() const;
  virtual bool GetBooleen(int indice) const;
  virtual void SetBooleen(int indice, bool valeur);
  virtual std::string NomBooleen(int indice) const;

  virtual std::string Nature() const = 0;

  // Stores the flag, then recomputes the derived constants (a failure there
  // clears the flag and is passed on). SetValide(true) is the one way to
  // bring the constants up to date after the datum or its ellipsoid changed.
  virtual void SetValide(bool valide);

  // NbReel + NbEntier + NbAngle + NbBooleen.
  int NbParametres() const;
  // Name of a parameter in the flattened order (reals, integers, angles,
  // booleans); empty when the index is out of range.
  std::string NomParametre(int indice) const;

  // A parameter of the flattened order as text, as the data file writes it:
  // reals "%.12g", integers "%d", angles their stored text, booleans "1" or
  // "0". Out of range: "Demande de paramètre hors-limites".
  enum class TSorte { Reel, Entier, Angle, Booleen };
  TSorte SorteParametre(int indice) const;
  std::string TexteParametre(int indice) const;
  // Reads the text by the parameter's sort (LitReel, LitEntier, the angle
  // reader; a boolean is true for "1" and false otherwise) and writes it as
  // the Set operations do, raising the reader's error or theirs.
  void EcritParametre(int indice, const std::string& texte);

 protected:
  // The kind's parameter table, in index order.
  virtual void DecritParametres(TParametres& p) = 0;
  // Recomputes what the kind derives from its parameters and from a and e.
  // Called, under a floating-point guard, after every successful parameter
  // write and every SetValide. A kind that derives nothing keeps it empty; a
  // kind with derived constants computes them all here, only while Valide is
  // true, and raises when they cannot be computed: its conversions read them
  // and change nothing, so that a conversion is a function of the point alone.
  virtual void CalculeConstantes() {}

  // a and e of the datum's ellipsoid.
  double DemiGrandAxe() const;
  double Excentricite() const;

 private:
  TParametres Table() const;
  // The sort of a parameter of the flattened order and its index in its
  // list; false when out of range.
  bool Place(int indice, TSorte& sorte, int& rang) const;
  void Recalcule();
  // Index check (clearing the validity on failure), write, derived
  // constants; any failure clears the validity and is passed on.
  template <class T, class Ecriture>
  void Ecrit(TParametres::Liste<T> TParametres::*liste, int indice, Ecriture ecriture);
};

}  // namespace vestrel
