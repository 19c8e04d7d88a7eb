#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace talvor {

// The frame of a dialog under a window manager: a title and a close box, no minimise or
// maximise button. Some window managers offer every button unless the close box is named.
inline constexpr Qt::WindowFlags kDialogFrame =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// Places a window in the middle of the screen it is on.
inline void centerOnDesktop(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

}  // namespace talvor
