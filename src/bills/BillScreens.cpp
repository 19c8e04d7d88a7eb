#include "bills/BillScreens.h"

#include "bills/BillScreen.h"
#include "ui/ScreenRegistry.h"

namespace talvor {

void registerBillScreens(ScreenRegistry& screens) {
    screens.add<TFrmIn>(QStringLiteral("N10"));
    screens.add<TFrmReturnIn>(QStringLiteral("N12"));
    screens.add<TFrmOut>(QStringLiteral("N20"));
    screens.add<TFrmReturnout>(QStringLiteral("N22"));
}

}  // namespace talvor
