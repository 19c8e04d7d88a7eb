#pragma once

class QApplication;

namespace talvor {

class SingleInstanceGuard;

// Takes the guard, or tells the user that the program already runs ("程序已经运行") and returns
// false; nothing else is created then.
bool ensureSingleInstance(SingleInstanceGuard& guard);

// The program from start to end: the single-instance guard, the first start, the splash, the
// long-lived windows and the data module, then the event loop. Returns the exit code.
int runProgram(QApplication& app);

}  // namespace talvor
