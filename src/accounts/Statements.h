#pragma once

#include "ui/QueryScreen.h"

namespace talvor {

// 出货对帐单: a customer's sales-side bills of a date range with what was received.
class TFrmOutcost : public QueryScreen {
    Q_OBJECT

  public:
    explicit TFrmOutcost(QWidget* parent = nullptr);
};

// 进货对帐单: a supplier's purchase-side bills of a date range with what was paid.
class TFrmIncost : public QueryScreen {
    Q_OBJECT

  public:
    explicit TFrmIncost(QWidget* parent = nullptr);
};

}  // namespace talvor
