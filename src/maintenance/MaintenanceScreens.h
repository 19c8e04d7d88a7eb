#pragma once

namespace talvor {

class ScreenRegistry;

void registerMaintenanceScreens(ScreenRegistry& screens);

}  // namespace talvor
