#include "ui/EnterAsTab.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>

namespace talvor {

namespace {

const QEvent::Type kMoveFocus = QEvent::Type(QEvent::registerEventType());

bool isEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
           (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

QAbstractItemView* enclosingGrid(QWidget* widget) {
    for (QWidget* w = widget->parentWidget(); w && !w->isWindow(); w = w->parentWidget())
        if (auto* view = qobject_cast<QAbstractItemView*>(w)) return view;
    return nullptr;
}

// A grid that routes Enter through its own entry order (the bill lines) keeps it, also in
// its cell editors.
// Enter on a focused button presses it, as on the platform the program comes from, whether
// or not the button would be the dialog's default.
QAbstractButton* pressableButton(QWidget* widget) {
    if (qobject_cast<QPushButton*>(widget) || qobject_cast<QToolButton*>(widget))
        return static_cast<QAbstractButton*>(widget);
    return nullptr;
}

bool ownsEnter(QWidget* widget) {
    if (widget->property("ownsEnter").toBool()) return true;
    QAbstractItemView* grid = enclosingGrid(widget);
    return grid && grid->property("ownsEnter").toBool();
}

}  // namespace

bool isProgramWindow(const QWidget* window) {
    return window && !(window->windowType() == Qt::Popup) &&
           qstrncmp(window->metaObject()->className(), "talvor::", 8) == 0;
}

bool EnterAsTab::eventFilter(QObject* watched, QEvent* event) {
    if (!watched->isWidgetType() || !isEnter(event)) return false;
    auto* widget = static_cast<QWidget*>(watched);
    // In a box of several lines Enter starts a new line and stays.
    if (qobject_cast<QTextEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget)) return false;
    if (ownsEnter(widget)) return false;
    QWidget* window = widget->window();
    if (!isProgramWindow(window)) return false;
    QWidget* focus = window->focusWidget();
    if (QAbstractButton* button = pressableButton(widget); button && widget == focus) {
        button->click();
        return true;
    }
    if (widget == (focus ? focus : window)) {
        from_ = widget;
        grid_ = enclosingGrid(widget);
        QCoreApplication::postEvent(this, new QEvent(kMoveFocus));
        return false;
    }
    // A key the control left alone climbs to its dialog, which would press its default
    // button; here Enter only moves on.
    return widget == window && qobject_cast<QDialog*>(widget);
}

void EnterAsTab::customEvent(QEvent* event) {
    if (event->type() == kMoveFocus) moveFocusOn();
}

// Runs once the Enter has been handled. A handler that put the focus somewhere itself, or
// opened another window, has the last word; a grid whose cell editor took the Enter moves to
// its next cell.
void EnterAsTab::moveFocusOn() {
    QWidget* focus = QApplication::focusWidget();
    if (!focus || (focus != from_ && focus != grid_)) return;
    // Inside a grid the Tab moves to the next cell; elsewhere the window moves the focus, since
    // a control would spend it on its own parts (a date picker steps through its sections).
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(grid_ ? focus : focus->window(), &tab);
}

}  // namespace talvor
