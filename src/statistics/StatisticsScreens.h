#pragma once

#include "ui/QueryScreen.h"

namespace talvor {

class ScreenRegistry;

// 出货统计: the lines of the outgoing bills of a range, with totals and a chart per day or month.
class TFrmOutList : public QueryScreen {
    Q_OBJECT

  public:
    explicit TFrmOutList(QWidget* parent = nullptr);
};

// 进货统计: the same for the incoming bills.
class TFrmInlist : public QueryScreen {
    Q_OBJECT

  public:
    explicit TFrmInlist(QWidget* parent = nullptr);
};

// 出货排行-按货品: goods ranked by amount or quantity, with a chart of the first twenty.
class TFrmOutSortG : public QueryScreen {
    Q_OBJECT

  public:
    explicit TFrmOutSortG(QWidget* parent = nullptr);
};

// 出货排行-按客户: companies ranked the same way.
class TFrmOutSortC : public QueryScreen {
    Q_OBJECT

  public:
    explicit TFrmOutSortC(QWidget* parent = nullptr);
};

// The statistics screens, by the menu item that opens each.
void registerStatisticsScreens(ScreenRegistry& screens);

}  // namespace talvor
