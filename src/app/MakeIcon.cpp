// Build-time tool: draws the program icon and writes it as an ICO file (the path given).
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>

#include "shell/CorvanaArt.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: corvana-make-icon <output.ico>\n");
    return 2;
  }
  QImageWriter writer(QString::fromLocal8Bit(argv[1]), "ico");
  if (!writer.write(DrawCorvanaIcon(64))) {
    std::fprintf(stderr, "corvana-make-icon: %s\n", qPrintable(writer.errorString()));
    return 1;
  }
  return 0;
}
