#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace talvor {

// The Enter key acts as Tab on the input controls of every window of the program: the focused
// control still gets the Enter (a box that runs a search on Enter still does), then the focus
// moves on. On a button Enter presses it.
// Installed on the application. Qt's own dialogs and popups (message boxes, file dialogs,
// menus, drop-down lists) keep their usual Enter, and so do boxes of several lines; a window
// of the program is a class of namespace talvor.
class EnterAsTab : public QObject {
    Q_OBJECT

  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void customEvent(QEvent* event) override;

  private:
    void moveFocusOn();

    // The control that got the Enter, and the grid around it when it was a cell editor.
    QPointer<QWidget> from_;
    QPointer<QWidget> grid_;
};

// Whether a window belongs to the program rather than to Qt.
bool isProgramWindow(const QWidget* window);

}  // namespace talvor
