#pragma once

#include <QPixmap>
#include <QSize>
#include <array>

class QIcon;
class QImage;

namespace talvor {

// The program's own pictures, drawn when needed: misty ridges ("岚") behind a ripe rice stalk
// ("禾"). The splash and the about box show the picture with the title; the main window shows
// a quiet version behind its work area.
QPixmap programPicture(QSize size, const QString& caption);
QPixmap backgroundPicture(QSize size);

// The program's icon: the stalk before the ridges on a rounded tile, drawn for each of the
// sizes the desktop's icon theme keeps (the package installs these as PNG files).
inline constexpr std::array iconSizes{16, 22, 24, 32, 48, 64, 128, 256};
QImage iconImage(int size);
QIcon programIcon();

}  // namespace talvor
