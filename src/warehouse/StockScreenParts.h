#pragma once

#include <vector>

#include "datamodel/DatasetModel.h"
#include "ui/GridEditScreen.h"

namespace talvor {

// The goods columns the warehouse grids begin with (code, name, 规格, model, category, unit),
// read-only, followed by the screen's own.
inline std::vector<GridColumn> withGoodsColumns(std::vector<GridColumn> rest) {
    std::vector<GridColumn> columns = {
        {QStringLiteral("gods_code"), QStringLiteral("商品编码"), 90, true},
        {QStringLiteral("gods_name"), QStringLiteral("名称"), 150, true},
        {QStringLiteral("gods_spec"), QStringLiteral("规格"), 80, true},
        {QStringLiteral("gods_type"), QStringLiteral("型号"), 80, true},
        {QStringLiteral("gods_kind"), QStringLiteral("种类"), 80, true},
        {QStringLiteral("gods_unit"), QStringLiteral("单位"), 50, true}};
    columns.insert(columns.end(), rest.begin(), rest.end());
    return columns;
}

// The tool bar of the two screens that work on the ledger in chektemp (adjustment and
// stock-taking): 查询, the start of the work, 保存, 取消, 打印.
inline std::vector<GridToolButton> chektempButtons(const char* startCaption) {
    return {{"cmd_find", "查询[&F]"},
            {"cmd_edit", startCaption},
            {"cmd_save", "保存[&S]"},
            {"cmd_canc", "取消[&C]"},
            {"cmd_prin", "打印[&P]"}};
}

// Their controls by mode, and any the screen adds that are usable only while browsing.
inline ControlStates chektempControls(std::vector<const char*> browsingOnly = {}) {
    ControlStates states = {{"cmd_edit", true, false, false, Right::Edit},
                            {"cmd_find", true, false, false, Right::Find},
                            {"cmd_prin", true, false, false, Right::Print},
                            {"cmd_save", false, false, true},
                            {"cmd_canc", false, false, true},
                            {"cmd_exit", true, false, false}};
    for (const char* control : browsingOnly) states.push_back({control, true, false, false});
    return states;
}

}  // namespace talvor
