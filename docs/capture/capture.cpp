// Draws the README's pictures with the windows' own widgets (QWidget::grab):
// the main window after a conversion, the parameters window on the
// single-zone systems and the coordinate-system editor on a multi-zone
// Transverse Mercator. Run it on the offscreen platform:
//   QT_QPA_PLATFORM=offscreen build/docs/capture/capture_fenetres docs
#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <cstdio>

#include "banc_fenetre.h"
#include "ui/dial_fichier.h"
#include "ui/listing.h"

namespace {

bool Enregistre(QWidget& fenetre, const QString& dossier, const char* nom) {
  fenetre.show();
  QApplication::processEvents();
  const QString fichier = dossier + QLatin1Char('/') + QLatin1String(nom);
  if (fenetre.grab().save(fichier, "PNG")) return true;
  std::fprintf(stderr, "Impossible d'écrire %s\n", qPrintable(fichier));
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::fputs("usage : capture_fenetres dossier\n", stderr);
    return 2;
  }
  const QString dossier = QString::fromLocal8Bit(argv[1]);
  vestrel::TBancFenetre banc;
  banc.EcritDonnees(vestrel::kCatalogueEssai);
  vestrel::TForm1& fenetre = banc.Ouvre();
  fenetre.show();
  fenetre.EditXSource->setText(QStringLiteral("48°50'40''"));
  fenetre.EditYSource->setText(QStringLiteral("2°21'8''"));
  fenetre.ComboDestination->setCurrentIndex(1);  // NTF
  fenetre.CheckDestParis->setChecked(true);
  fenetre.ItemsUnite->button(2)->setChecked(true);
  fenetre.Button2->click();
  QApplication::processEvents();
  if (!banc.Messages.isEmpty()) {
    std::fprintf(stderr, "%s\n", qPrintable(banc.Messages.join(QLatin1Char('\n'))));
    return 1;
  }
  if (!Enregistre(fenetre, dossier, "fenetre_principale.png")) return 1;

  // The file dialog on a few points in decimal degrees with decimal commas,
  // shown without its modal loop, towards UTM 31.
  {
    QFile points(banc.Racine() + QStringLiteral("/releves.csv"));
    if (!points.open(QIODevice::WriteOnly)) return 1;
    points.write("# borne;latitude;longitude\r\nB1;48,8566;2,3522\r\nB2;48,8606;2,3376\r\n"
                 "B3;48,8530;2,3499\r\n");
  }
  vestrel::TDlgFichier& dialogue = *fenetre.DlgFichier;
  fenetre.ComboDestination->setCurrentIndex(4);  // UTM 31
  dialogue.Prepare(*fenetre.Donnees, "WGS84", "UTM 31", {});
  dialogue.ChoisitFichier(banc.Racine() + QStringLiteral("/releves.csv"));
  dialogue.SpinId->setValue(1);
  dialogue.SpinX->setValue(2);
  dialogue.SpinY->setValue(3);
  dialogue.ComboAngles->setCurrentIndex(1);
  dialogue.CheckVirgule->setChecked(true);
  dialogue.EditFichier->setText(QStringLiteral("~/releves.csv"));
  dialogue.EditResultat->setText(QStringLiteral("~/releves-converti.csv"));
  if (!Enregistre(dialogue, dossier, "dial_fichier.png")) return 1;
  dialogue.hide();

  vestrel::TDlgParametre parametres(fenetre.Donnees, banc.Ini(), {}, &fenetre);
  parametres.show();
  parametres.PageControl->setCurrentIndex(2);
  parametres.ListSimple->setCurrentRow(1);  // UTM 31
  if (!Enregistre(parametres, dossier, "parametres.png")) return 1;

  // The editor as "Modifier ..." fills it, shown without its modal loop.
  vestrel::TDlgProjection& editeur = *parametres.DlgProjection;
  editeur.Donnees = fenetre.Donnees.get();
  editeur.Initialise(fenetre.Donnees->Multiples.front().get(), true);  // TM 3
  editeur.GridParametre->setCurrentCell(0, 1);
  return Enregistre(editeur, dossier, "dial_projection.png") ? 0 : 1;
}
