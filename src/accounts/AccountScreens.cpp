#include "accounts/AccountScreens.h"

#include "accounts/SettlementScreen.h"
#include "ui/ScreenRegistry.h"

namespace talvor {

void registerAccountScreens(ScreenRegistry& screens) {
    screens.add<TFrmGath>(QStringLiteral("N39"));
    screens.add<TFrmPay>(QStringLiteral("N40"));
}

}  // namespace talvor
