#pragma once

#include <QTranslator>
#include <memory>

namespace talvor {

// Qt's own texts (the file dialog, the print set-up, the standard buttons) in Chinese, from the
// catalogue installed with Debian's Qt translations. Null when the catalogue is missing: Qt then
// speaks English and the program goes on.
std::unique_ptr<QTranslator> loadQtChinese();

}  // namespace talvor
