#pragma once

namespace talvor {

class ScreenRegistry;

// Receipts, payments and the two statements, by the menu item that opens each.
void registerAccountScreens(ScreenRegistry& screens);

}  // namespace talvor
