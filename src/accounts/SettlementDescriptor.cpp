#include "accounts/SettlementDescriptor.h"

#include "datamodel/DataModule.h"
#include "reports/core/ReportLayout.h"

namespace talvor {

const SettlementDescriptor& SettlementDescriptor::receipts() {
    static const SettlementDescriptor d{
        .className = "TFrmGath",
        .caption = "收款单",
        .module = 19,
        .side = &SettlementSide::Receipts(),
        .bills = &TFrmDataMod::GathQ,
        .saved = &TFrmDataMod::GathMainQ,
        .layout = &report::ReportLayouts::Qgath,
        .startCaption = "收款[&J]",
        .entryGroup = "收款明细",
        .figures = {.due = "应收总金额", .settled = "已收总金额", .open = "欠收总金额"},
        .entry = {.number = "收款单号",
                  .date = "收款日期",
                  .amount = "收款金额",
                  .person = "收 款 人"},
        .gridTitles = {.due = "应收款", .settled = "实收款", .open = "欠收款"},
        .findClassName = "TFrmGathFind",
        .findCaption = "收款单查询"};
    return d;
}

const SettlementDescriptor& SettlementDescriptor::payments() {
    static const SettlementDescriptor d{
        .className = "TFrmPay",
        .caption = "付款单",
        .module = 20,
        .side = &SettlementSide::Payments(),
        .bills = &TFrmDataMod::PayQ,
        .saved = &TFrmDataMod::PayMainQ,
        .layout = &report::ReportLayouts::Qpay,
        .startCaption = "付款[&J]",
        .entryGroup = "付款明细",
        .figures = {.due = "应付总金额", .settled = "已付总金额", .open = "欠付总金额"},
        .entry = {.number = "付款单号",
                  .date = "付款日期",
                  .amount = "付款金额",
                  .person = "付 款 人"},
        .gridTitles = {.due = "应付款", .settled = "实付款", .open = "欠付款"},
        .findClassName = "TFrmPayFind",
        .findCaption = "付款单查询"};
    return d;
}

}  // namespace talvor
