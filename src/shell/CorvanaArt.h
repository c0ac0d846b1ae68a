// The program's pictures, drawn in code: its icon (also written to Corvana.ico at build time),
// the splash logo and the fallbacks of the toolbar pictures.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>

inline constexpr char kIconFileName[] = "Corvana.ico";

// The program icon, size x size pixels on a transparent background.
QImage DrawCorvanaIcon(int size);

// The splash logo: the icon beside the family name.
QPixmap DrawCorvanaLogo(int width, int height);

// The window icon: Corvana.ico from the program folder, or the drawn icon when it is missing.
QIcon CorvanaWindowIcon();

// A toolbar picture by its image key ("Open", "Save", "Read", "Write", "Preview", "Print",
// "Help"): the desktop theme's icon for that command, or a drawn one when the theme has none.
QIcon ToolbarIcon(const QString& imageKey);
