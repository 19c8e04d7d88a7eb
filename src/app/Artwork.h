#pragma once

#include <QPixmap>
#include <QSize>

namespace talvor {

// The program's own pictures, drawn when needed: misty ridges ("岚") behind a ripe rice stalk
// ("禾"). The splash and the about box show the picture with the title; the main window shows
// a quiet version behind its work area.
QPixmap programPicture(QSize size, const QString& caption);
QPixmap backgroundPicture(QSize size);

}  // namespace talvor
