#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace talvor {

// Places a window in the middle of the screen it is on.
inline void centerOnDesktop(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

}  // namespace talvor
