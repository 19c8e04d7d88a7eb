#include "warehouse/WarehouseScreens.h"

#include "ui/ScreenRegistry.h"
#include "warehouse/StockLists.h"

namespace talvor {

void registerWarehouseScreens(ScreenRegistry& screens) {
    screens.add<TFrmStore>(QStringLiteral("N31"));
    screens.add<TFrmAlarm>(QStringLiteral("N15"));
}

}  // namespace talvor
