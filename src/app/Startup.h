#pragma once

class QApplication;

namespace talvor {

// The program from start to end: the single-instance guard, the first start, the splash, the
// long-lived windows and the data module, then the event loop. Returns the exit code.
int runProgram(QApplication& app);

}  // namespace talvor
