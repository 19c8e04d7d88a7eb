#pragma once

namespace talvor {

class ScreenRegistry;

// The stock query, alarm, adjustment, stock-taking and movement screens by their menu items.
void registerWarehouseScreens(ScreenRegistry& screens);

}  // namespace talvor
