#pragma once

#include "ui/QueryScreen.h"

namespace talvor {

// 月进销存: per goods, the month's opening quantity (the previous month's count), what came
// in, what went out, and the closing quantity the books give.
class TFrmMios : public QueryScreen {
    Q_OBJECT

  public:
    explicit TFrmMios(QWidget* parent = nullptr);
};

}  // namespace talvor
