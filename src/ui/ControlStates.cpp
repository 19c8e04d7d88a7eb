#include "ui/ControlStates.h"

#include <QWidget>
#include <stdexcept>

namespace talvor {

QString modeText(ScreenMode mode) {
    switch (mode) {
        case ScreenMode::Add:
            return QStringLiteral("add");
        case ScreenMode::Edit:
            return QStringLiteral("edit");
        case ScreenMode::Null:
            break;
    }
    return QStringLiteral("null");
}

namespace {

bool usableIn(const ControlState& state, ScreenMode mode) {
    switch (mode) {
        case ScreenMode::Add:
            return state.inAdd;
        case ScreenMode::Edit:
            return state.inEdit;
        case ScreenMode::Null:
            break;
    }
    return state.inNull;
}

}  // namespace

void applyControlStates(QWidget& screen, const ControlStates& table, ScreenMode mode, int module) {
    std::vector<QWidget*> controls;
    controls.reserve(table.size());
    for (const ControlState& state : table) {
        auto* control = screen.findChild<QWidget*>(QLatin1String(state.control));
        if (!control)
            throw std::invalid_argument(QStringLiteral("窗口 %1 没有控件 %2")
                                            .arg(screen.objectName(), QLatin1String(state.control))
                                            .toStdString());
        controls.push_back(control);
    }
    for (size_t i = 0; i < table.size(); ++i) {
        const ControlState& state = table[i];
        const bool rightApplies =
            state.right && (mode == ScreenMode::Null || !state.rightWhileBrowsingOnly);
        const bool permitted = !rightApplies || HasRight(*state.right, module);
        controls[i]->setEnabled(usableIn(state, mode) && permitted);
    }
}

}  // namespace talvor
