#include "master/MasterScreens.h"

#include "master/TFrmCompany.h"
#include "master/TFrmGoods.h"
#include "master/TFrmStorIni.h"
#include "ui/ScreenRegistry.h"

namespace talvor {

void registerMasterScreens(ScreenRegistry& screens) {
    screens.add<TFrmGoods>(QStringLiteral("N4"));
    screens.add<TFrmCompany>(QStringLiteral("N5"));
    screens.add<TFrmStorIni>(QStringLiteral("N7"));
}

}  // namespace talvor
