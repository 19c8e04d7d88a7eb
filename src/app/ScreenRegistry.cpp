#include "app/ScreenRegistry.h"

#include "app/About.h"

namespace talvor {

void ScreenRegistry::add(const QString& menuItem, ScreenFactory factory) {
    factories_.insert(menuItem, std::move(factory));
}

const ScreenFactory* ScreenRegistry::find(const QString& menuItem) const {
    const auto found = factories_.constFind(menuItem);
    return found == factories_.cend() ? nullptr : &found.value();
}

namespace {

template <typename Screen>
ScreenFactory make() {
    return [](QWidget* parent) { return std::make_unique<Screen>(parent); };
}

}  // namespace

ScreenRegistry& screenRegistry() {
    static ScreenRegistry registry = [] {
        ScreenRegistry r;
        r.add(QStringLiteral("N51"), make<TfrmAbout>());
        return r;
    }();
    return registry;
}

}  // namespace talvor
