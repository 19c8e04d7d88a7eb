#pragma once

#include <QString>
#include <exception>

namespace talvor {

// What long work tells whoever watches it, and how the watcher stops it. Operations take a
// Progress& and know nothing of how (or whether) it is shown; the ui kit shows it with the wait
// cursor and, for work that lasts, a dialog with a cancel button (ui/Progress.h).
//
// Stopping is an exception: advance() throws Cancelled once the user has asked to stop. An
// operation therefore does its writes inside a db::Transaction (or into a temporary file) and
// reports progress between steps; the exception unwinds through the guard, which rolls back,
// and nothing half written remains. An operation that must tidy up more than its guards do
// catches Cancelled, tidies and rethrows.
class Progress {
  public:
    virtual ~Progress() = default;

    // Names the step under way ("正在导出..."); shown above the bar.
    virtual void setLabel(const QString& text) = 0;

    // `done` of `total` units are finished; a total of 0 means the amount is not known.
    // Cheap enough to call for every row. Throws Cancelled when the user has asked to stop.
    virtual void advance(long long done, long long total) = 0;
};

// Thrown out of Progress::advance() when the user stopped the work.
class Cancelled : public std::exception {
  public:
    const char* what() const noexcept override { return "cancelled"; }
};

// For callers with nobody watching (tests, batch work): shows nothing and never stops.
Progress& unwatched();

}  // namespace talvor
