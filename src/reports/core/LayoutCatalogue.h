#pragma once

#include "reports/core/ReportModel.h"

// The definitions of the system's layouts, one function each, grouped by the screens that print
// them. Layouts.h gives them in start-up order.
namespace talvor::report::catalogue {

LayoutDefinition QRin();
LayoutDefinition QRout();

LayoutDefinition Rptstore();
LayoutDefinition Qalarm();
LayoutDefinition QRcheck();
LayoutDefinition QRpd();
LayoutDefinition QRiss();

LayoutDefinition Qgath();
LayoutDefinition Qpay();
LayoutDefinition Qincost();
LayoutDefinition Qoutcost();

LayoutDefinition QRinstat();
LayoutDefinition QRoutlist();
LayoutDefinition QRoutSortG();
LayoutDefinition QRoutSortC();

}  // namespace talvor::report::catalogue
