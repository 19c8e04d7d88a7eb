#include "app/ScreenRegistry.h"

#include "app/About.h"
#include "bills/BillScreen.h"
#include "master/TFrmCompany.h"
#include "master/TFrmGoods.h"

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
        r.add(QStringLiteral("N4"), make<TFrmGoods>());
        r.add(QStringLiteral("N5"), make<TFrmCompany>());
        r.add(QStringLiteral("N10"), make<TFrmIn>());
        r.add(QStringLiteral("N12"), make<TFrmReturnIn>());
        r.add(QStringLiteral("N20"), make<TFrmOut>());
        r.add(QStringLiteral("N22"), make<TFrmReturnout>());
        r.add(QStringLiteral("N51"), make<TfrmAbout>());
        return r;
    }();
    return registry;
}

}  // namespace talvor
