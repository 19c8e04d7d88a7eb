#pragma once

#include "ui/QueryScreen.h"

namespace talvor {

// 库存查询: the stock ledger, narrowed to one goods or one category, with its totals.
class TFrmStore : public QueryScreen {
    Q_OBJECT

  public:
    explicit TFrmStore(QWidget* parent = nullptr);
};

// 库存报警: the goods whose stock lies strictly outside the limits set on them.
class TFrmAlarm : public QueryScreen {
    Q_OBJECT

  public:
    explicit TFrmAlarm(QWidget* parent = nullptr);
};

}  // namespace talvor
