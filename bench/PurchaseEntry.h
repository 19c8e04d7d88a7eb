#pragma once

#include <QDate>
#include <memory>
#include <stdexcept>

#include "BenchData.h"
#include "bills/core/BillOperations.h"
#include "datamodel/DataModule.h"

namespace talvor::bench {

// Twenty different goods per bill, spread over the whole ledger; wide arithmetic, since bills
// of several writers are numbered in the millions.
inline QString lineCode(int bill, int line) {
    return goodsCode(int((qint64(bill) * 7919 + line * 4999) % kGoods));
}
inline double linePrice(int line) { return 10.0 + line; }

inline QString billNo(int bill) { return QStringLiteral("2099%1").arg(bill, 10, 10, QChar(u'0')); }

// A purchase screen's header and lines datasets, bound as the screen binds them, on a
// connected module. Bills are numbered on from `firstBill`, so that several writers on one
// database keep apart.
struct PurchaseScreen {
    std::unique_ptr<TFrmDataMod> owned;
    TFrmDataMod& module;
    Dataset* header = module.InMainQ;
    Dataset* lines = module.InGoodsQ;
    int bills = 0;

    explicit PurchaseScreen(std::unique_ptr<TFrmDataMod> connected, int firstBill = 0)
        : owned(std::move(connected)), module(*owned), bills(firstBill) {
        header->setSql(QStringLiteral("select * from inmain where bill_no=:bill_no"));
        header->setParam(QStringLiteral("bill_no"), QString());
        lines->setSql(QStringLiteral(" select * from ingoods  where bill_no=:bill_no "));
        lines->setMasterLink(header, QStringLiteral("bill_no"), QStringLiteral("bill_no"));
        header->open();
    }

    // A new bill of twenty posted lines, not yet saved.
    void enterBill() {
        const int bill = ++bills;
        header->append();
        header->setValue(QStringLiteral("bill_no"), billNo(bill));
        header->setValue(QStringLiteral("bill_date"), QDate(2026, 12, 20));
        header->setValue(QStringLiteral("comp_code"), QStringLiteral("C00001"));
        header->post();
        header->edit();
        for (int line = 0; line < kLinesPerBill; ++line) {
            lines->append();
            lines->setValue(QStringLiteral("bill_no"), billNo(bill));
            lines->setValue(QStringLiteral("gods_code"), lineCode(bill, line));
            lines->setValue(QStringLiteral("sub_amou"), double(1 + line % 5));
            lines->setValue(QStringLiteral("unit_pric"), linePrice(line));
            lines->post();
        }
    }

    // The saved bill put into editing with every quantity changed.
    void editBill(int round) {
        header->edit();
        for (int row = 0; row < lines->recordCount(); ++row) {
            lines->setCurrentRow(row);
            lines->setValue(QStringLiteral("sub_amou"), double(1 + (row + round) % 5));
            lines->post();
        }
    }

    void save() {
        if (!SaveBill(BillKind::Purchase, *header, *lines, 1).written())
            throw std::runtime_error("refused");
    }
};

}  // namespace talvor::bench
