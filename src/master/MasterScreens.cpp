#include "master/MasterScreens.h"

#include "master/TFrmCompany.h"
#include "master/TFrmEmployee.h"
#include "master/TFrmGoods.h"
#include "master/TFrmPower.h"
#include "master/TFrmStorIni.h"
#include "master/TFrmUser.h"
#include "ui/ScreenRegistry.h"

namespace talvor {

void registerMasterScreens(ScreenRegistry& screens) {
    screens.add<TFrmEmployee>(QStringLiteral("N3"));
    screens.add<TFrmGoods>(QStringLiteral("N4"));
    screens.add<TFrmCompany>(QStringLiteral("N5"));
    screens.add<TFrmUser>(QStringLiteral("N6"));
    screens.add<TFrmStorIni>(QStringLiteral("N7"));
    screens.add<TFrmPower>(QStringLiteral("N8"));
}

}  // namespace talvor
