#pragma once

#include <QDialog>
#include <QHash>
#include <QString>
#include <functional>
#include <memory>

namespace talvor {

// Makes a new screen; it is shown modally and destroyed when it closes, so it must not
// delete itself on close.
using ScreenFactory = std::function<std::unique_ptr<QDialog>(QWidget* parent)>;

// The screen each menu item opens. An item with no screen yet opens nothing.
class ScreenRegistry {
  public:
    void add(const QString& menuItem, ScreenFactory factory);
    const ScreenFactory* find(const QString& menuItem) const;

    template <typename Screen>
    void add(const QString& menuItem) {
        add(menuItem, [](QWidget* parent) { return std::make_unique<Screen>(parent); });
    }

  private:
    QHash<QString, ScreenFactory> factories_;
};

}  // namespace talvor
