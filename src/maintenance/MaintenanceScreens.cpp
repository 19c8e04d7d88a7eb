#include "maintenance/MaintenanceScreens.h"

#include "maintenance/TFrmBackUp.h"
#include "maintenance/TFrmRestore.h"
#include "ui/ScreenRegistry.h"

namespace talvor {

void registerMaintenanceScreens(ScreenRegistry& screens) {
    screens.add<TFrmBackUp>(QStringLiteral("N46"));
    screens.add<TFrmRestore>(QStringLiteral("N47"));
}

}  // namespace talvor
