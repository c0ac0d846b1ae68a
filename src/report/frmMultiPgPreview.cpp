#include "report/frmMultiPgPreview.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTemporaryDir>
#include <algorithm>

#include "editor/frmMain.h"
#include "platform/Dialogs.h"
#include "platform/KeyCodes.h"
#include "platform/TextConv.h"
#include "platform/WindowOwner.h"
#include "report/ReportCommands.h"
#include "shell/CorvanaArt.h"

namespace {

QPointer<FrmMultiPgPreview> g_preview;
bool g_unloading = false;

constexpr int kButtonBarWidth = 555;  // twips
constexpr int kHScrollHeight = 270;

int ClampToBar(const QScrollBar* bar, int value) {
  return std::clamp(value, bar->minimum(), bar->maximum());
}

// A button of the bar: its 16 x 16 picture above its caption, taking the focus like a button.
QToolButton* PictureButton(const QString& caption, const QString& tip, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setText(caption);
  button->setToolTip(tip);
  button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  button->setIconSize(QSize(16, 16));
  button->setFocusPolicy(Qt::StrongFocus);
  return button;
}

// The Fit button's pictures, in the toolbar pictures' style: for the page view a whole page
// between four corner marks (fit the page into the window), for the thumbnail view a magnifier
// (back to the page at full size).
QPixmap DrawFitPicture(bool thumbnailView) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor ink(0x40, 0x40, 0x40);
  if (!thumbnailView) {
    p.setPen(QPen(ink, 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 3.5, 7, 9));
    for (qreal y = 6; y < 11; y += 2) p.drawLine(QPointF(6, y), QPointF(10, y));
    p.setPen(QPen(QColor(0x2F, 0x6F, 0xC4), 1.5));
    p.setBrush(Qt::NoBrush);
    for (const QPointF& c : {QPointF(1, 1), QPointF(15, 1), QPointF(1, 15), QPointF(15, 15)}) {
      const qreal dx = c.x() < 8 ? 3 : -3;
      const qreal dy = c.y() < 8 ? 3 : -3;
      p.drawPolyline(QPolygonF({QPointF(c.x(), c.y() + dy), c, QPointF(c.x() + dx, c.y())}));
    }
  } else {
    p.setPen(QPen(ink, 1.5));
    p.setBrush(QColor(0xCF, 0xE6, 0xFA));
    p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
    p.drawLine(QPointF(4.5, 6.5), QPointF(8.5, 6.5));
    p.drawLine(QPointF(6.5, 4.5), QPointF(6.5, 8.5));
    p.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
  }
  return pixmap;
}

// A fresh folder for the page files in TEMP, else in the system's temporary folder, followed by
// "/"; "" when neither will hold one, and then why in `why`.
QString MakePageFolder(QString& why) {
  QStringList reasons;
  QStringList tried;
  for (const QString& parent : {qEnvironmentVariable("TEMP"), QDir::tempPath()}) {
    // Nothing to try: an unset TEMP, or a system folder that does not exist (answered as "").
    // A relative template would put the folder in the working folder.
    if (parent.isEmpty() || tried.contains(QDir(parent).absolutePath())) continue;
    tried.append(QDir(parent).absolutePath());
    QTemporaryDir folder(QDir(parent).absoluteFilePath(QStringLiteral("CorvanaPreview-XXXXXX")));
    if (folder.isValid()) {
      folder.setAutoRemove(false);
      return folder.path() + QLatin1Char('/');
    }
    reasons.append(QStringLiteral("No folder for its pages could be made in \"%1\": %2.")
                       .arg(QDir::toNativeSeparators(parent), folder.errorString()));
  }
  if (QDir::tempPath().isEmpty()) {
    reasons.append(QStringLiteral("The system's temporary folder does not exist."));
  }
  why = reasons.join(QStringLiteral("\r\n"));
  return QString();
}

}  // namespace

FrmMultiPgPreview::FrmMultiPgPreview(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("frmMultiPgPreview"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  setAutoFillBackground(true);
  setPalette(QPalette(QApplication::palette().color(QPalette::Button)));

  Picture1 = new QLabel(this);
  Picture1->setObjectName(QStringLiteral("Picture1"));
  Picture1->setAutoFillBackground(true);
  Picture1->setPalette(QPalette(Qt::white));
  Picture1->setFocusPolicy(Qt::StrongFocus);
  Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  picFullPage = new QLabel(this);
  picFullPage->setObjectName(QStringLiteral("picFullPage"));
  picFullPage->setFocusPolicy(Qt::StrongFocus);
  picFullPage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  picFullPage->hide();

  picPrintPic = new QLabel(this);
  picPrintPic->setObjectName(QStringLiteral("picPrintPic"));
  picPrintPic->hide();

  Picture2 = new QWidget(this);
  cmd_quit = PictureButton(QStringLiteral("Exit"), QStringLiteral("Close"), Picture2);
  cmd_quit->setIcon(QIcon::fromTheme(QStringLiteral("window-close"),
                                     style()->standardIcon(QStyle::SP_DialogCloseButton)));
  cmd_print = PictureButton(QStringLiteral("Print"), QStringLiteral("Print Options"), Picture2);
  cmd_print->setIcon(ToolbarIcon(QStringLiteral("Print")));  // as on the main toolbar
  cmdFullPage = PictureButton(QStringLiteral("Fit"), QStringLiteral("Fit Page"), Picture2);
  cmdFullPage->setCheckable(true);
  imgFit = {DrawFitPicture(false), DrawFitPicture(true)};
  ShowFitPicture();
  VScroll1 = new QScrollBar(Qt::Vertical, Picture2);
  cmd_quit->setGeometry(Pixels(30), 0, Pixels(525), Pixels(630));
  cmd_print->setGeometry(Pixels(30), Pixels(630), Pixels(525), Pixels(585));
  cmdFullPage->setGeometry(Pixels(30), Pixels(1215), Pixels(525), Pixels(510));
  VScroll1->setGeometry(Pixels(105), Pixels(2000), Pixels(330), Pixels(4000));

  picHScroll = new QWidget(this);
  HScroll1 = new QScrollBar(Qt::Horizontal, picHScroll);

  setTabOrder(Picture1, cmd_quit);
  setTabOrder(cmd_quit, cmd_print);
  setTabOrder(cmd_print, cmdFullPage);

  connect(cmd_quit, &QToolButton::clicked, this, &FrmMultiPgPreview::cmd_quit_Click);
  connect(cmd_print, &QToolButton::clicked, this, &FrmMultiPgPreview::cmd_print_Click);
  connect(cmdFullPage, &QToolButton::clicked, this, &FrmMultiPgPreview::cmdFullPage_Click);
  connect(HScroll1, &QScrollBar::valueChanged, this, [this](int value) {
    Picture1->move(-Pixels(value), Picture1->y());
    Picture1->setFocus();
  });
  connect(VScroll1, &QScrollBar::valueChanged, this, [this](int value) {
    Picture1->move(Picture1->x(), -Pixels(value));
    Picture1->setFocus();
  });
  for (QWidget* w : {static_cast<QWidget*>(Picture1), static_cast<QWidget*>(picFullPage),
                     static_cast<QWidget*>(HScroll1), static_cast<QWidget*>(VScroll1),
                     static_cast<QWidget*>(cmdFullPage), static_cast<QWidget*>(cmd_quit),
                     static_cast<QWidget*>(cmd_print), static_cast<QWidget*>(this)}) {
    w->installEventFilter(this);
  }
}

int FrmMultiPgPreview::Pixels(int twips) const { return cps::TwipsToPixels(twips); }

void FrmMultiPgPreview::Form_Load() {
  const QRect screen = QApplication::primaryScreen()->geometry();
  setGeometry(screen);
  HScroll1->setFixedWidth(std::max(1, Pixels(Twips(width()) - kButtonBarWidth - 500)));
  // A fresh folder of this window's own: its page files can neither overwrite nor be mistaken
  // for files it did not write.
  TempPath = MakePageFolder(PageFolderError);
  Form_Resize();
  // After the resize, which centres the still small page: a page sized wider than the room
  // later must start at the left edge, where the horizontal scroll bar's 0 puts it.
  Picture1->move(0, 0);
}

void FrmMultiPgPreview::SizePage(double paperWidth, double paperHeight) {
  canvas.Open(paperWidth, paperHeight);
  Picture1->resize(canvas.Image().size());
  const int heightTwips = Twips(Picture1->height());
  const int widthTwips = Twips(Picture1->width());
  VScroll1->setRange(-500, static_cast<int>(cps::RoundHalfEven(heightTwips * 0.5)));
  VScroll1->setSingleStep(static_cast<int>(cps::RoundHalfEven(VScroll1->maximum() * 0.1)));
  VScroll1->setPageStep(static_cast<int>(cps::RoundHalfEven(VScroll1->maximum() * 0.5)));
  HScroll1->setRange(-500, static_cast<int>(cps::RoundHalfEven(widthTwips * 0.25)));
  HScroll1->setSingleStep(static_cast<int>(cps::RoundHalfEven(HScroll1->maximum() * 0.1)));
  HScroll1->setPageStep(static_cast<int>(cps::RoundHalfEven(HScroll1->maximum() * 0.5)));
  Picture1->setPixmap(QPixmap());
}

QSize FrmMultiPgPreview::LoadPrintPicture(const QVariant& picture) {
  QImage image;
  if (picture.typeId() == QMetaType::QImage) image = picture.value<QImage>();
  if (picture.typeId() == QMetaType::QPixmap) image = picture.value<QPixmap>().toImage();
  if (image.isNull()) {
    picPrintPic->clear();
    return {};
  }
  // Transparent parts show the box's white, as they would on paper.
  QPixmap shown(image.size());
  shown.fill(Qt::white);
  QPainter painter(&shown);
  painter.drawImage(0, 0, image);
  painter.end();
  picPrintPic->setPixmap(shown);
  picPrintPic->resize(shown.size());
  return shown.size();
}

void FrmMultiPgPreview::SavePage(const QString& path) {
  if (TempPath.isEmpty() || !canvas.Image().save(path, "BMP")) return;
  if (!writtenPages_.contains(path)) writtenPages_.append(path);
}

bool FrmMultiPgPreview::LoadPageFile(int page) {
  // Without a page folder the name alone would be looked up in the working folder.
  if (TempPath.isEmpty()) return false;
  QPixmap pixmap;
  if (!pixmap.load(TempPath + QStringLiteral("PPview%1.bmp").arg(page))) return false;
  Picture1->setPixmap(pixmap);
  Picture1->resize(pixmap.size());
  return true;
}

void FrmMultiPgPreview::LayoutPreview() {
  const int room = width() - Pixels(kButtonBarWidth);
  picHScroll->setVisible(room < Picture1->width());
  VScroll1->setVisible(Picture1->height() >= height());
  if (picFullPage->isVisible()) cmdFullPage_Click();
}

void FrmMultiPgPreview::Form_Resize() {
  QApplication::restoreOverrideCursor();
  Picture2->setGeometry(width() - Pixels(kButtonBarWidth), 0, Pixels(kButtonBarWidth), height());
  picHScroll->setGeometry(0, height() - Pixels(kHScrollHeight), width(), Pixels(kHScrollHeight));
  HScroll1->setGeometry(0, 0, HScroll1->width(), Pixels(kHScrollHeight));
  LayoutPreview();
  const int room = width() - Pixels(kButtonBarWidth);
  if (room > Picture1->width()) {
    Picture1->move((room - Picture1->width()) / 2, Picture1->y());
  }
  // The picture of the view shown, also when the thumbnail stays shown.
  ShowFitPicture();
  // In the thumbnail view the page is hidden; the thumbnail keeps the focus then.
  if (Picture1->isVisible()) Picture1->setFocus();
}

void FrmMultiPgPreview::cmdFullPage_Click() {
  if (!cmdFullPage->isChecked()) {
    Picture1->show();
    Picture1->setFocus();
    picFullPage->hide();
    ShowFitPicture();
    return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QCoreApplication::processEvents();
  ShowFitPicture();
  picFullPage->clear();
  const int room = width() - Pixels(kButtonBarWidth);
  QRect box;
  if (picHScroll->isVisible()) {
    const int h = height() - Pixels(100);
    const int w = static_cast<int>(cps::RoundHalfEven(h * 0.773));
    box = QRect((room - w) / 2, picFullPage->y(), w, h);
  } else {
    const int w = room - Pixels(100);
    box = QRect(Pixels(50), Pixels(50), w, static_cast<int>(cps::RoundHalfEven(w * 0.773)));
  }
  // A box taken from the width is taller than a wide window, one taken from the height wider
  // than a narrow room, and the strip covers the bottom: shrink it in its shape to fit there.
  // A window smaller than the margins leaves no room at all: the box is then empty, never of a
  // negative size.
  const int bottom = height() - (picHScroll->isVisible() ? picHScroll->height() : 0);
  const QRect area(0, 0, room, bottom);
  box.setSize(box.size().expandedTo(QSize(0, 0)));
  if (!area.contains(box)) {
    const double scale =
        box.isEmpty()
            ? 0.0
            : std::max(0.0, std::min(static_cast<double>(room) / box.width(),
                                     static_cast<double>(bottom - 2 * box.top()) / box.height()));
    box.setSize(
        QSize(static_cast<int>(box.width() * scale), static_cast<int>(box.height() * scale)));
    box.moveLeft((room - box.width()) / 2);
  }
  picFullPage->setGeometry(box);
  const QPixmap page = Picture1->pixmap();
  if (!page.isNull() && !box.isEmpty()) {
    QPixmap thumb(picFullPage->size());
    thumb.fill(palette().color(QPalette::Window));
    const double r = static_cast<double>(page.height()) / page.width();
    const double q = static_cast<float>(static_cast<double>(thumb.height()) / thumb.width());
    QRectF target;
    if (q <= r) {
      const double h = thumb.height();
      target = QRectF((thumb.width() - h / r) / 2, 0, h / r, h);
    } else {
      const double w = thumb.width();
      target = QRectF(0, (thumb.height() - w * r) / 2, w, w * r);
    }
    QPainter painter(&thumb);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target.toRect(), page);
    painter.end();
    picFullPage->setPixmap(thumb);
  }
  Picture1->hide();
  picFullPage->show();
  picFullPage->setFocus();
  QApplication::restoreOverrideCursor();
}

void FrmMultiPgPreview::ShowFitPicture() {
  cmdFullPage->setIcon(QIcon(imgFit[cmdFullPage->isChecked() ? 1 : 0]));
}

void FrmMultiPgPreview::StepScroll(QScrollBar* bar, int delta) {
  const int value = bar->value() + delta;
  if (value >= bar->minimum() && value <= bar->maximum()) bar->setValue(value);
}

void FrmMultiPgPreview::ShowCurrentPage() {
  LoadPageFile(CurrentPage);
  VScroll1->setValue(0);
  HScroll1->setValue(0);
  LayoutPreview();
}

void FrmMultiPgPreview::HandlePageKey(int keyCode) {
  switch (keyCode) {
    case cps::kKeyEnd:
      CurrentPage = PageCount;
      ShowCurrentPage();
      break;
    case cps::kKeyHome:
      CurrentPage = 0;
      ShowCurrentPage();
      break;
    case cps::kKeyLeft:
      StepScroll(HScroll1, -HScroll1->singleStep());
      break;
    case cps::kKeyUp:
      StepScroll(VScroll1, -VScroll1->singleStep());
      break;
    case cps::kKeyRight:
      StepScroll(HScroll1, HScroll1->singleStep());
      break;
    case cps::kKeyDown:
      StepScroll(VScroll1, VScroll1->singleStep());
      break;
    default:
      break;
  }
}

void FrmMultiPgPreview::ScrollBarKeyUp(QScrollBar* bar, int keyCode) {
  const bool vertical = bar == VScroll1;
  if (keyCode == cps::kKeyEnd || keyCode == cps::kKeyHome) {
    HandlePageKey(keyCode);
    return;
  }
  // The vertical bar's Page Up/Down and Left/Right move the page sideways.
  if (vertical && (keyCode == cps::kKeyPageUp || keyCode == cps::kKeyLeft)) {
    StepScroll(HScroll1, -HScroll1->singleStep());
  } else if (vertical && (keyCode == cps::kKeyPageDown || keyCode == cps::kKeyRight)) {
    StepScroll(HScroll1, HScroll1->singleStep());
  } else if (!vertical && keyCode == cps::kKeyUp) {
    StepScroll(VScroll1, -VScroll1->singleStep());
  } else if (!vertical && keyCode == cps::kKeyDown) {
    StepScroll(VScroll1, VScroll1->singleStep());
  }
}

void FrmMultiPgPreview::Picture1_MouseDown(int button, int shift, int x, int y) {
  if (button != 1 || shift != 0) return;
  DragStartX = x;
  DragStartY = y;
  setCursor(Qt::SizeAllCursor);
}

void FrmMultiPgPreview::Picture1_MouseMove(int button, int shift, int x, int y) {
  if (button != 1 || shift != 0) return;
  // One twip of page movement per pixel of pointer movement, as the scroll values are twips.
  const int left = Twips(Picture1->x());
  const int top = Twips(Picture1->y());
  int h = ClampToBar(HScroll1, -(left + (x - DragStartX)));
  int v = VScroll1->isVisible() ? ClampToBar(VScroll1, -(top + (y - DragStartY))) : -top;
  Picture1->move(-Pixels(h), -Pixels(v));
}

void FrmMultiPgPreview::Picture1_MouseUp(int button, int shift, int, int) {
  if (button == 1 && shift == 0) {
    if (VScroll1->isVisible()) VScroll1->setValue(-Twips(Picture1->y()));
    HScroll1->setValue(-Twips(Picture1->x()));
  }
  unsetCursor();
}

void FrmMultiPgPreview::cmd_print_Click() {
  UnloadFrmMultiPgPreview();
  PrintDataReport();
}

void FrmMultiPgPreview::cmd_quit_Click() {
  if (ReportPreview) ReportPreview->SetSendToPrinter(false);
  UnloadFrmMultiPgPreview();
}

void FrmMultiPgPreview::Form_Unload() {
  DeletePageFiles();
  PageCount = 0;
  CurrentPage = 0;
}

void FrmMultiPgPreview::DeletePageFiles() {
  // A file that will not go stays, and so does the folder then.
  for (const QString& path : std::as_const(writtenPages_)) QFile::remove(path);
  writtenPages_.clear();
  if (!TempPath.isEmpty()) QDir().rmdir(TempPath);
}

FrmMultiPgPreview::~FrmMultiPgPreview() { DeletePageFiles(); }

void FrmMultiPgPreview::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Form_Resize();
}

void FrmMultiPgPreview::closeEvent(QCloseEvent* event) {
  event->accept();
  if (!g_unloading && g_preview == this) UnloadFrmMultiPgPreview();
}

bool FrmMultiPgPreview::eventFilter(QObject* watched, QEvent* event) {
  // A held key repeats its release: only the real one acts, or a held arrow runs to the end.
  if (event->type() == QEvent::KeyRelease && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
    const int key = cps::KeyCodeFromQt(static_cast<QKeyEvent*>(event)->key(),
                                       static_cast<QKeyEvent*>(event)->modifiers());
    if (watched == Picture1 || watched == picFullPage) HandlePageKey(key);
    if (watched == HScroll1 || watched == VScroll1) {
      ScrollBarKeyUp(static_cast<QScrollBar*>(watched), key);
    }
  }
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape) {
      cmd_quit->click();
      return true;
    }
    if (watched == cmdFullPage && !key->text().isEmpty()) {
      cmdFullPage->setChecked(!cmdFullPage->isChecked());
      cmdFullPage_Click();
      cmdFullPage->setFocus();
      return true;
    }
  }
  if (watched == Picture1) {
    auto mouse = [this, event](void (FrmMultiPgPreview::*handler)(int, int, int, int)) {
      auto* m = static_cast<QMouseEvent*>(event);
      const int button = (m->buttons() | m->button()) & Qt::LeftButton ? 1 : 0;
      const int shift =
          m->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier) ? 1 : 0;
      (this->*handler)(button, shift, qRound(m->position().x()), qRound(m->position().y()));
    };
    if (event->type() == QEvent::MouseButtonPress) mouse(&FrmMultiPgPreview::Picture1_MouseDown);
    if (event->type() == QEvent::MouseMove) mouse(&FrmMultiPgPreview::Picture1_MouseMove);
    if (event->type() == QEvent::MouseButtonRelease) mouse(&FrmMultiPgPreview::Picture1_MouseUp);
  }
  return QWidget::eventFilter(watched, event);
}

FrmMultiPgPreview& frmMultiPgPreview() {
  if (!g_preview) {
    g_preview = new FrmMultiPgPreview();
    g_preview->Form_Load();
    SetPreviewVisibleHook([] { return g_preview && g_preview->isVisible(); });
  }
  return *g_preview;
}

bool IsFrmMultiPgPreviewLoaded() { return !g_preview.isNull(); }

void UnloadFrmMultiPgPreview() {
  if (!g_preview || g_unloading) return;
  g_unloading = true;
  FrmMultiPgPreview* preview = g_preview;
  preview->Form_Unload();
  preview->hide();
  g_preview = nullptr;
  preview->deleteLater();
  g_unloading = false;
}

void ShowFrmMultiPgPreview(bool modal) {
  QPointer<FrmMultiPgPreview> preview = &frmMultiPgPreview();
  // It covers the screen where its load put it, above the window it was opened from.
  cps::ShowOwned(*preview, cps::CurrentOwner(), cps::Placement::kKeepPlace,
                 modal ? Qt::ApplicationModal : Qt::NonModal);
  preview->Picture1->setFocus();
  if (!modal || cps::DialogScript::Scripted()) return;
  QEventLoop loop;
  QObject::connect(preview, &QObject::destroyed, &loop, &QEventLoop::quit);
  // Hidden by the unload: the window is gone for the caller from here on.
  while (preview && preview->isVisible()) loop.processEvents(QEventLoop::WaitForMoreEvents);
}
