#include "reports/core/Layouts.h"

#include "reports/core/LayoutCatalogue.h"

namespace talvor::report {

std::vector<LayoutDefinition> systemLayouts() {
    using namespace catalogue;
    return {QRoutlist(), Qgath(),    Qincost(), QRiss(),      QRinstat(),
            Qoutcost(),  Rptstore(), QRpd(),    Qpay(),       QRcheck(),
            QRout(),     QRin(),     Qalarm(),  QRoutSortG(), QRoutSortC()};
}

}  // namespace talvor::report
