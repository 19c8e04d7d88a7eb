#pragma once

#include <QApplication>
#include <QWidget>
#include <QtTest/QTest>

#include "ui/EnterAsTab.h"

namespace talvor::test {

// A user at the keyboard alone: every key goes to the control that has the focus, under the
// program's Enter rule, and the event loop runs after each key as it would between two presses.
class Keyboard {
  public:
    Keyboard() { qApp->installEventFilter(&rule_); }
    ~Keyboard() { qApp->removeEventFilter(&rule_); }
    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;

    static bool showActive(QWidget& window) {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QCoreApplication::processEvents();
    }
    static void type(const QString& text) {
        for (QChar c : text) {
            QWidget* focus = QApplication::focusWidget();
            if (c.unicode() < 0x80)
                QTest::keyClick(focus, char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, focus, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
        }
    }
    // Types a text into the focused control, then presses Enter.
    static void enter(const QString& text) {
        type(text);
        press(Qt::Key_Return);
    }
    static QString focusName() {
        const QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QString();
    }

  private:
    EnterAsTab rule_;
};

}  // namespace talvor::test
