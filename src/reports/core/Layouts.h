#pragma once

#include <vector>

#include "reports/core/ReportModel.h"

namespace talvor::report {

// The fifteen printed layouts, in the order the program creates them at start-up.
std::vector<LayoutDefinition> systemLayouts();

}  // namespace talvor::report
