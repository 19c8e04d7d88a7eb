#include "app/Screens.h"

#include "accounts/AccountScreens.h"
#include "app/About.h"
#include "bills/BillScreens.h"
#include "maintenance/MaintenanceScreens.h"
#include "master/MasterScreens.h"
#include "statistics/StatisticsScreens.h"
#include "ui/ScreenRegistry.h"
#include "warehouse/WarehouseScreens.h"

namespace talvor {

ScreenRegistry& screenRegistry() {
    static ScreenRegistry registry = [] {
        ScreenRegistry screens;
        registerMasterScreens(screens);
        registerBillScreens(screens);
        registerWarehouseScreens(screens);
        registerAccountScreens(screens);
        registerStatisticsScreens(screens);
        registerMaintenanceScreens(screens);
        screens.add<TfrmAbout>(QStringLiteral("N51"));
        return screens;
    }();
    return registry;
}

}  // namespace talvor
