// Draws the main window after a conversion into a PNG file, with the window's
// own widgets (QWidget::grab), for the README. Run it on the offscreen
// platform: QT_QPA_PLATFORM=offscreen capture_fenetre docs/fenetre_principale.png
#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QCheckBox>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <cstdio>

#include "banc_fenetre.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::fputs("usage : capture_fenetre image.png\n", stderr);
    return 2;
  }
  vestrel::TBancFenetre banc;
  banc.EcritDonnees(vestrel::kCatalogueEssai);
  vestrel::TForm1& fenetre = banc.Ouvre();
  fenetre.show();
  fenetre.EditXSource->setText(QStringLiteral("48°50'40''"));
  fenetre.EditYSource->setText(QStringLiteral("2°21'8''"));
  fenetre.ComboDestination->setCurrentIndex(1);
  fenetre.CheckDestParis->setChecked(true);
  fenetre.ItemsUnite->button(2)->setChecked(true);
  fenetre.Button2->click();
  QApplication::processEvents();
  if (!banc.Messages.isEmpty()) {
    std::fprintf(stderr, "%s\n", qPrintable(banc.Messages.join(QLatin1Char('\n'))));
    return 1;
  }
  if (!fenetre.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "Impossible d'écrire %s\n", argv[1]);
    return 1;
  }
  return 0;
}
