#pragma once

#include <QObject>
#include <exception>
#include <functional>

#include "datamodel/db/DbError.h"
#include "ui/Messages.h"

namespace talvor {

// Database steps that a screen's handlers guard themselves: an error ends the step without a
// message and the screen stays as it was.
template <typename Fn>
bool quietly(Fn&& fn) {
    try {
        fn();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// Runs fn; an exception it lets escape is shown by the general error report and the program
// goes on. Returns whether fn ran to its end.
template <typename Fn>
bool reportErrors(Fn&& fn) {
    try {
        fn();
        return true;
    } catch (const Error& e) {
        messages().reportError(e.message());
    } catch (const std::exception& e) {
        messages().reportError(QString::fromUtf8(e.what()));
    }
    return false;
}

// Connects a handler whose errors end in the general error report instead of unwinding
// through Qt's signal delivery.
template <typename Sender, typename Signal>
QMetaObject::Connection connectGuarded(Sender* sender, Signal signal, QObject* context,
                                       std::function<void()> handler) {
    return QObject::connect(sender, signal, context,
                            [handler = std::move(handler)] { reportErrors(handler); });
}

}  // namespace talvor
