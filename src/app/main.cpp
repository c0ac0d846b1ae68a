#include <QApplication>
#include <QFont>
#include <QStringList>

#include "platform/AppSettings.h"
#include "shell/CorvanaArt.h"
#include "shell/frmSpla.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QLatin1String(cps::kAppTitle));
  QApplication::setWindowIcon(CorvanaWindowIcon());
  // The windows are laid out in twips for a small 8-point dialog font; a larger desktop font
  // would cut captions and cell texts.
  QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));
  // Kept for the start-up open of a codeplug file named on the command line.
  SetStartupCommandLine(app.arguments().mid(1).join(QLatin1Char(' ')));
  frmSpla().show();
  return app.exec();
}
