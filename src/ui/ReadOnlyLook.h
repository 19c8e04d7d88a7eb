#pragma once

class QWidget;

namespace talvor {

// The values of an area that is not in use (a record's details while browsing, a bill's totals)
// are for reading: its disabled boxes and labels keep the text colour of usable ones, on the
// background of a read-only box, instead of being greyed out.
void showDisabledAsReadOnly(QWidget& area);

}  // namespace talvor
