#pragma once

namespace talvor {

class ScreenRegistry;

// The four bill screens, by the menu item that opens each.
void registerBillScreens(ScreenRegistry& screens);

}  // namespace talvor
