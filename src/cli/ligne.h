#pragma once
// One input line of "convertir": the fields of a point line, their reading,
// the conversion and the output line. Apart from the file handling so that
// it can be driven line by line (tests, fuzzing).
#include <string>
#include <string_view>

#include "catalogue/donnee.h"
#include "cli/cli.h"

namespace vestrel::cli {

// Converts one point line into `sortie` (without its line end); raises the
// line's error (vestrel::Erreur, or std::exception for any other fault).
class TConvertisseur {
 public:
  TConvertisseur(const TOptionsConversion& options, const TSystemeResolu& source,
                 const TSystemeResolu& destination);
  void Convertit(std::string_view ligne, std::string& sortie);

 private:
  const TOptionsConversion& options_;
  const TSystemeResolu& source_;
  const TSystemeResolu& destination_;
  const std::string attendu_;
  std::string texteX_, texteY_, texte_;
};

// A line to copy as it stands: empty, blank or a comment.
bool LigneRecopiee(std::string_view ligne);

}  // namespace vestrel::cli
