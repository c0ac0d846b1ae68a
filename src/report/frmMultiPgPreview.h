// The print preview window: a borderless full-screen window showing one page file at full size,
// moved with two scroll bars, the arrow keys or by dragging; Fit shows the whole page as a
// thumbnail; Home and End show the first and the last page; Print closes the window and prints
// the report; Exit (or Esc) closes it. The page files live in a folder of the window's own inside
// TEMP, or the system's temporary folder when TEMP cannot hold it; closing deletes the page files
// the preview wrote there, and the folder.
// Scroll values and control sizes are in twips (15 a pixel); the canvas measures in pixels.
#pragma once

#include <QLabel>
#include <QPixmap>
#include <QScrollBar>
#include <QString>
#include <QToolButton>
#include <QWidget>
#include <array>

#include "report/PageCanvas.h"

class FrmMultiPgPreview : public QWidget {
  Q_OBJECT

 public:
  explicit FrmMultiPgPreview(QWidget* parent = nullptr);
  ~FrmMultiPgPreview() override;

  int PageCount = 0;        // number of the last page file
  int CurrentPage = 0;      // number of the page file shown
  QString TempPath;         // the page folder followed by "/"; "" when it could not be made
  QString PageFolderError;  // why the page folder could not be made, in the system's words
  int DragStartX = 0;
  int DragStartY = 0;

  QLabel* Picture1;   // the page
  QWidget* Picture2;  // the button bar on the right
  // The buttons show their picture above the caption.
  QToolButton* cmd_quit;
  QToolButton* cmd_print;
  QToolButton* cmdFullPage;  // checkable: checked = thumbnail view
  // The Fit button's two 16 x 16 pictures: 0 in the page view, 1 in the thumbnail view.
  std::array<QPixmap, 2> imgFit;
  QScrollBar* VScroll1;
  QWidget* picHScroll;  // strip at the bottom holding HScroll1
  QScrollBar* HScroll1;
  QLabel* picFullPage;  // the thumbnail
  QLabel* picPrintPic;  // hidden: holds a picture while the preview class measures and paints it
  PageCanvas canvas;    // where the preview class draws the page being composed

  // Sizes the page for the paper and sets the scroll bars' ranges from it.
  void SizePage(double paperWidth, double paperHeight);
  // Loads page file n into the page.
  bool LoadPageFile(int page);
  // Puts picture (a QImage or QPixmap) into picPrintPic, on the box's white background, and
  // answers its size; anything else clears the box.
  QSize LoadPrintPicture(const QVariant& picture);
  // Writes the canvas as the page file at path, inside the page folder; nothing without one.
  void SavePage(const QString& path);

  void Form_Load();
  void Form_Resize();
  void Form_Unload();
  void LayoutPreview();
  void HandlePageKey(int keyCode);
  void ScrollBarKeyUp(QScrollBar* bar, int keyCode);
  void ShowCurrentPage();
  void cmdFullPage_Click();
  void cmd_print_Click();
  void cmd_quit_Click();
  void Picture1_MouseDown(int button, int shift, int x, int y);
  void Picture1_MouseMove(int button, int shift, int x, int y);
  void Picture1_MouseUp(int button, int shift, int x, int y);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void StepScroll(QScrollBar* bar, int delta);
  // The Fit button shows the picture of its state.
  void ShowFitPicture();
  // Deletes the page files this window wrote, then its page folder when nothing else is in it.
  void DeletePageFiles();
  int Twips(int pixels) const { return pixels * 15; }
  int Pixels(int twips) const;

  QStringList writtenPages_;
};

// The one preview window, created (and its load run) on first use.
FrmMultiPgPreview& frmMultiPgPreview();
bool IsFrmMultiPgPreviewLoaded();
// Closes the window: its unload deletes the page files; the next use creates a fresh window.
void UnloadFrmMultiPgPreview();
// Shows the loaded window; with modal, returns only when it has closed. Under a test script the
// window is shown without waiting, and a test closes it.
void ShowFrmMultiPgPreview(bool modal);
