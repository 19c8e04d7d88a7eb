#pragma once

namespace talvor {

class ScreenRegistry;

// Every screen of the program, each subject registering its own.
ScreenRegistry& screenRegistry();

}  // namespace talvor
