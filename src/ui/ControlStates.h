#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "datamodel/Rights.h"

class QWidget;

namespace talvor {

// What an editing screen is doing: browsing, entering a new row or changing the current one.
enum class ScreenMode { Null, Add, Edit };

QString modeText(ScreenMode mode);  // "null", "add", "edit"

// One row of a screen's table of control states: the control (by objectName), whether it is
// usable in each mode, and the right of the screen's module it needs besides.
struct ControlState {
    const char* control;
    bool inNull;
    bool inAdd;
    bool inEdit;
    std::optional<Right> right = std::nullopt;
    // The right counts only while browsing: entering allows the control to anyone (a bill's
    // 删除 removes a line then, and needs the delete right only for whole bills).
    bool rightWhileBrowsingOnly = false;
};

using ControlStates = std::vector<ControlState>;

// Enables each control of the table by the mode and the current user's rights in module.
// A control the screen does not have is an error in the table and throws.
void applyControlStates(QWidget& screen, const ControlStates& table, ScreenMode mode, int module);

}  // namespace talvor
