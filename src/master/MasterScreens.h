#pragma once

namespace talvor {

class ScreenRegistry;

// The master-data screens, by the menu item that opens each.
void registerMasterScreens(ScreenRegistry& screens);

}  // namespace talvor
