// Vestrel's window program. Start: the settings are read, the application
// title of message boxes ("Vestrel") is given by the window, the main window is created (it loads the catalogue). Stop: the
// main window is destroyed (it saves the catalogue), then the settings file
// is written.
#include <QApplication>

#include "catalogue/fichier_ini.h"
#include "ui/fenetre_principale.h"
#include "ui/listing.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("vestrel"));

  vestrel::TFichierIni fichierIni("vestrel");
  fichierIni.LitFichier();
  int code = 0;
  {
    vestrel::TForm1 fenetre(fichierIni);
    vestrel::TDlgParametre parametres(fenetre.Donnees, fichierIni, {}, &fenetre);
    fenetre.MontreParametres = [&parametres] { parametres.exec(); };
    QObject::connect(&fenetre, &QDialog::finished, &application, &QApplication::quit);
    fenetre.show();
    code = QApplication::exec();
  }
  fichierIni.EcritFichier();
  return code;
}
