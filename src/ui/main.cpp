// Vestrel's window program. Start: the settings are read, the application
// title of message boxes ("Vestrel") is given by the window, the main window
// is created (it loads the catalogue). Stop: the main window is destroyed (it
// saves the catalogue), then the settings file is written. TERM, HUP and INT
// (logout, shutdown, a terminal closed) take the same road out.
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <optional>

#include "catalogue/fichier_ini.h"
#include "ui/fenetre_principale.h"
#include "ui/listing.h"

namespace {

// A signal only writes its number into a pipe; the window's event loop reads
// it and leaves, so that the exit runs as after "Quitter".
int tubeSignaux[2] = {-1, -1};

extern "C" void SignalRecu(int numero) {
  const int erreur = errno;
  const char octet = static_cast<char>(numero);
  if (::write(tubeSignaux[1], &octet, 1) < 0) {
    // The pipe is full: a signal is already waiting to be handled.
  }
  errno = erreur;
}

void InstalleSignaux() {
  if (::pipe2(tubeSignaux, O_CLOEXEC | O_NONBLOCK) != 0) return;
  struct sigaction action = {};
  action.sa_handler = SignalRecu;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(signal, &action, nullptr);
}

}  // namespace

int main(int argc, char* argv[]) {
  InstalleSignaux();
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("vestrel"));
  std::optional<QSocketNotifier> signaux;
  if (tubeSignaux[0] >= 0) {
    signaux.emplace(tubeSignaux[0], QSocketNotifier::Read);
    QObject::connect(&*signaux, &QSocketNotifier::activated, &application, [] {
      char octet;
      while (::read(tubeSignaux[0], &octet, 1) > 0) {
      }
      // Every event loop ends, those of open dialogs included; the window is
      // then destroyed as at a normal exit.
      QApplication::exit(0);
    });
  }

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
