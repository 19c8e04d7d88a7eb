#include "app/Application.h"

#include "ui/ErrorReport.h"

namespace talvor {

TalvorApplication::TalvorApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TalvorApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    reportErrors([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

}  // namespace talvor
