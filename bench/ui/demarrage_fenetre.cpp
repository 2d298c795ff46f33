// Cold start of the window program to its first paint, with a catalogue of
// 10 000 records in "donnees.txt". The measure starts a fresh process for each
// run (dynamic loading, QApplication, settings, catalogue load, choices,
// layout, first paint) and times it from the outside until the child reports
// its first paint.
//   QT_QPA_PLATFORM=offscreen build/bench/ui/demarrage_fenetre [runs]
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "banc_fenetre.h"
#include "tools/nombres.h"

namespace {

// 10 ellipsoids, 990 datums and 9000 single-zone systems.
std::string Catalogue() {
  std::string texte;
  for (int i = 0; i < 10; ++i)
    texte += "Ellipsoide=\"Ellipsoide " + vestrel::FormatD(i) + "\" \"essai\" 6378249.2 0.08248325676\r\n";
  for (int i = 0; i < 990; ++i)
    texte += "Datum=\"Datum " + vestrel::FormatD(i) + "\" \"essai\" \"Ellipsoide " +
             vestrel::FormatD(i % 10) + "\" -168 -60 320\r\n";
  for (int i = 0; i < 9000; ++i)
    texte += "Projection \"Projection Latitude/Longitude\"=\"Systeme " + vestrel::FormatD(i) +
             "\" \"essai\" \"Datum " + vestrel::FormatD(i % 990) + "\"\r\n";
  return texte;
}

// Quits at the first paint of the window, reporting it on standard output.
class TPremierePeinture : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* evenement) override {
    if (evenement->type() == QEvent::Paint) {
      std::fputs("peint\n", stdout);
      std::fflush(stdout);
      std::_Exit(0);  // the exit save is not part of the measure
    }
    return false;
  }
};

int Enfant(int argc, char* argv[]) {
  QApplication application(argc, argv);
  vestrel::TFichierIni ini("vestrel");
  ini.LitFichier();
  vestrel::TForm1 fenetre(ini);
  std::fprintf(stderr, "%d noms dans les choix\n", fenetre.ComboSource->count());
  TPremierePeinture filtre;
  fenetre.installEventFilter(&filtre);
  fenetre.show();
  return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc > 1 && std::string(argv[1]) == "--enfant") return Enfant(argc, argv);
  const int essais = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  QCoreApplication application(argc, argv);
  vestrel::TBancFenetre banc;  // sets XDG_CONFIG_HOME for the children
  banc.EcritDonnees(Catalogue());
  std::vector<double> durees;
  for (int i = 0; i < essais; ++i) {
    QProcess enfant;
    enfant.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer chrono;
    chrono.start();
    enfant.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--enfant")});
    if (!enfant.waitForReadyRead(30000) || !enfant.readAll().startsWith("peint")) {
      std::fputs("la fenêtre n'a pas été peinte\n", stderr);
      return 1;
    }
    durees.push_back(static_cast<double>(chrono.nsecsElapsed()) / 1e6);
    enfant.waitForFinished();
  }
  std::sort(durees.begin(), durees.end());
  std::printf("démarrage à froid jusqu'à la première peinture, %d essais : min %s ms, médiane %s "
              "ms, max %s ms\n",
              essais, vestrel::FormatF(durees.front(), 1).c_str(),
              vestrel::FormatF(durees[durees.size() / 2], 1).c_str(),
              vestrel::FormatF(durees.back(), 1).c_str());
  return durees[durees.size() / 2] < 500 ? 0 : 1;
}
