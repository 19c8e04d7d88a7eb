#include "warehouse/WarehouseScreens.h"

#include "ui/ScreenRegistry.h"
#include "warehouse/StockLists.h"
#include "warehouse/TFrmMios.h"
#include "warehouse/TFrmStorChg.h"
#include "warehouse/TFrmStorChk.h"

namespace talvor {

void registerWarehouseScreens(ScreenRegistry& screens) {
    screens.add<TFrmStore>(QStringLiteral("N31"));
    screens.add<TFrmAlarm>(QStringLiteral("N15"));
    screens.add<TFrmStorChg>(QStringLiteral("N32"));
    screens.add<TFrmStorChk>(QStringLiteral("N33"));
    screens.add<TFrmMios>(QStringLiteral("N34"));
}

}  // namespace talvor
