// Window and control geometry in twips (15 twips a pixel): a control's place inside its parent;
// for a window, Left and Top place its frame on the screen and Width and Height its inside.
#pragma once

class QWidget;

namespace cps {

int LeftTwips(const QWidget& widget);
int TopTwips(const QWidget& widget);
int WidthTwips(const QWidget& widget);
int HeightTwips(const QWidget& widget);

void SetLeftTwips(QWidget& widget, int left);
void SetTopTwips(QWidget& widget, int top);
void SetWidthTwips(QWidget& widget, int width);
void SetHeightTwips(QWidget& widget, int height);
void MoveTwips(QWidget& widget, int left, int top, int width, int height);

}  // namespace cps
