#include "ui/ScreenRegistry.h"

namespace talvor {

void ScreenRegistry::add(const QString& menuItem, ScreenFactory factory) {
    factories_.insert(menuItem, std::move(factory));
}

const ScreenFactory* ScreenRegistry::find(const QString& menuItem) const {
    const auto found = factories_.constFind(menuItem);
    return found == factories_.cend() ? nullptr : &found.value();
}

}  // namespace talvor
