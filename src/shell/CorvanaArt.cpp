#include "shell/CorvanaArt.h"

#include <QFile>
#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include "platform/AppSettings.h"

namespace {

constexpr QRgb kBrandBlue = 0xFF1F4E8C;
constexpr QRgb kBrandLight = 0xFF8FC1F0;

// A handheld radio: body, antenna and two arcs of waves, on a rounded blue tile.
void PaintIcon(QPainter& p, qreal s) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(kBrandBlue));
  p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);

  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(s * 0.30, s * 0.36, s * 0.30, s * 0.52), s * 0.05, s * 0.05);
  p.drawRect(QRectF(s * 0.50, s * 0.12, s * 0.06, s * 0.26));  // antenna
  p.setBrush(QColor(kBrandBlue));
  p.drawRoundedRect(QRectF(s * 0.35, s * 0.42, s * 0.20, s * 0.14), s * 0.02, s * 0.02);

  QPen wave(QColor(kBrandLight), s * 0.05, Qt::SolidLine, Qt::RoundCap);
  p.setPen(wave);
  p.setBrush(Qt::NoBrush);
  for (qreal r : {s * 0.14, s * 0.24}) {
    p.drawArc(QRectF(s * 0.53 - r, s * 0.16 - r, 2 * r, 2 * r), 330 * 16, 60 * 16);
  }
}

QPixmap Canvas(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

QPen Outline() { return QPen(QColor(0x40, 0x40, 0x40), 1.2); }

void PaintOpen(QPainter& p) {
  p.setPen(Outline());
  p.setBrush(QColor(0xE8, 0xB9, 0x3A));
  p.drawRect(QRectF(2.5, 6.5, 17, 13));
  p.setBrush(QColor(0xF6, 0xD3, 0x6B));
  QPainterPath flap;
  flap.moveTo(5.5, 10.5);
  flap.lineTo(21.5, 10.5);
  flap.lineTo(18.5, 19.5);
  flap.lineTo(2.5, 19.5);
  flap.closeSubpath();
  p.drawPath(flap);
}

void PaintSave(QPainter& p) {
  p.setPen(Outline());
  p.setBrush(QColor(0x3A, 0x6E, 0xB5));
  p.drawRect(QRectF(3.5, 3.5, 17, 17));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(6.5, 3.5, 11, 6));
  p.setBrush(QColor(0xD0, 0xD0, 0xD0));
  p.drawRect(QRectF(6.5, 13.5, 11, 7));
}

// A radio beside an arrow: down into the computer for Read, up into the radio for Write.
void PaintTransfer(QPainter& p, bool toComputer) {
  p.setPen(Outline());
  p.setBrush(QColor(0x50, 0x50, 0x50));
  p.drawRect(QRectF(3.5, 8.5, 7, 12));
  p.drawLine(QPointF(8.5, 8.5), QPointF(8.5, 3.5));
  QColor arrow = toComputer ? QColor(0x2E, 0x9E, 0x44) : QColor(0xC8, 0x32, 0x2E);
  p.setBrush(arrow);
  p.setPen(QPen(arrow.darker(), 1));
  QPainterPath path;
  if (toComputer) {
    path.moveTo(15, 4);
    path.lineTo(19, 4);
    path.lineTo(19, 12);
    path.lineTo(22, 12);
    path.lineTo(17, 19);
    path.lineTo(12, 12);
    path.lineTo(15, 12);
  } else {
    path.moveTo(15, 19);
    path.lineTo(19, 19);
    path.lineTo(19, 11);
    path.lineTo(22, 11);
    path.lineTo(17, 4);
    path.lineTo(12, 11);
    path.lineTo(15, 11);
  }
  path.closeSubpath();
  p.drawPath(path);
}

void PaintPage(QPainter& p) {
  p.setPen(Outline());
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 2.5, 13, 18));
  for (qreal y = 6.5; y < 16; y += 3) p.drawLine(QPointF(7, y), QPointF(15, y));
}

void PaintPreview(QPainter& p) {
  PaintPage(p);
  p.setPen(QPen(QColor(0x30, 0x30, 0x30), 2));
  p.setBrush(QColor(0xCF, 0xE6, 0xFA));
  p.drawEllipse(QPointF(15, 14), 4, 4);
  p.drawLine(QPointF(18, 17), QPointF(22, 21));
}

void PaintPrint(QPainter& p) {
  p.setPen(Outline());
  p.setBrush(Qt::white);
  p.drawRect(QRectF(6.5, 2.5, 11, 8));
  p.setBrush(QColor(0x70, 0x70, 0x70));
  p.drawRoundedRect(QRectF(2.5, 9.5, 19, 8), 1.5, 1.5);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(6.5, 15.5, 11, 6));
}

void PaintHelp(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x2F, 0x6F, 0xC4));
  p.drawEllipse(QRectF(2, 2, 20, 20));
  p.setPen(Qt::white);
  QFont font = p.font();
  font.setBold(true);
  font.setPixelSize(15);
  p.setFont(font);
  p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, QStringLiteral("?"));
}

QIcon DrawnToolbarIcon(const QString& key) {
  QPixmap pixmap = Canvas(24);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  if (key == QLatin1String("Open")) PaintOpen(p);
  if (key == QLatin1String("Save")) PaintSave(p);
  if (key == QLatin1String("Read")) PaintTransfer(p, true);
  if (key == QLatin1String("Write")) PaintTransfer(p, false);
  if (key == QLatin1String("Preview")) PaintPreview(p);
  if (key == QLatin1String("Print")) PaintPrint(p);
  if (key == QLatin1String("Help")) PaintHelp(p);
  p.end();
  return QIcon(pixmap);
}

QString ThemeName(const QString& key) {
  if (key == QLatin1String("Open")) return QStringLiteral("document-open");
  if (key == QLatin1String("Save")) return QStringLiteral("document-save");
  if (key == QLatin1String("Read")) return QStringLiteral("go-down");
  if (key == QLatin1String("Write")) return QStringLiteral("go-up");
  if (key == QLatin1String("Preview")) return QStringLiteral("document-print-preview");
  if (key == QLatin1String("Print")) return QStringLiteral("document-print");
  if (key == QLatin1String("Help")) return QStringLiteral("help-contents");
  return QString();
}

}  // namespace

QImage DrawCorvanaIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  PaintIcon(p, size);
  return image;
}

QPixmap DrawCorvanaLogo(int width, int height) {
  QPixmap pixmap(width, height);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.drawImage(QPointF(0, 0), DrawCorvanaIcon(height));
  QFont font = p.font();
  font.setBold(true);
  font.setPixelSize(height * 11 / 20);
  font.setLetterSpacing(QFont::PercentageSpacing, 115);
  p.setFont(font);
  p.setPen(QColor(kBrandBlue));
  p.drawText(QRectF(height + height / 4, 0, width - height, height), Qt::AlignVCenter,
             QStringLiteral("CORVANA"));
  return pixmap;
}

QIcon CorvanaWindowIcon() {
  const QString path = cps::ProgramFolder() + QLatin1Char('/') + QLatin1String(kIconFileName);
  if (QFile::exists(path)) {
    QIcon icon(path);
    if (!icon.availableSizes().isEmpty()) return icon;
  }
  return QIcon(QPixmap::fromImage(DrawCorvanaIcon(64)));
}

QIcon ToolbarIcon(const QString& imageKey) {
  return QIcon::fromTheme(ThemeName(imageKey), DrawnToolbarIcon(imageKey));
}
