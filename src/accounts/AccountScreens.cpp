#include "accounts/AccountScreens.h"

#include "accounts/SettlementScreen.h"
#include "accounts/Statements.h"
#include "ui/ScreenRegistry.h"

namespace talvor {

void registerAccountScreens(ScreenRegistry& screens) {
    screens.add<TFrmGath>(QStringLiteral("N39"));
    screens.add<TFrmPay>(QStringLiteral("N40"));
    screens.add<TFrmIncost>(QStringLiteral("N41"));
    screens.add<TFrmOutcost>(QStringLiteral("N42"));
}

}  // namespace talvor
