#pragma once

#include <QString>

namespace talvor {

// The program's title: the main window's caption and the caption of the error report.
inline QString programTitle() { return QStringLiteral("禾岚进销存管理系统"); }

}  // namespace talvor
