#include "warehouse/TFrmStorChg.h"

#include <QHBoxLayout>
#include <QLineEdit>

#include "common/core/DataRoutines.h"
#include "datamodel/DataModule.h"
#include "datamodel/DisplayFormat.h"
#include "ui/LayoutPrinting.h"
#include "ui/Messages.h"
#include "ui/WaitCursor.h"
#include "warehouse/StockScreenParts.h"
#include "warehouse/core/StockTaking.h"

namespace talvor {

namespace {

using namespace Qt::StringLiterals;

const GridEditDescriptor& adjustment() {
    static const GridEditDescriptor d{
        .className = "TFrmStorChg",
        .caption = "库存调整",
        .module = 16,
        .list = &TFrmDataMod::ChektempQ,
        .columns = withGoodsColumns(
            {{u"gods_amou"_s, u"库存数量"_s, 90, true}, {u"chek_amou"_s, u"调整数量"_s, 90}}),
        .goodsCaptionColumns = 5,
        .buttons = chektempButtons("修改[&V]"),
        .controls = chektempControls(),
        .refusesCloseWhileEditing = false,
    };
    return d;
}

}  // namespace

TFrmStorChg::TFrmStorChg(QWidget* parent) : GridEditScreen(adjustment(), parent) {
    WaitCursor wait;
    addCodeFinder("Edit_code", u"产品编码"_s, true);
    total_ = addTotalBox("Edit_zsl", u"库存总数量"_s);
    boxRow()->addStretch();
    list().engine()->execute(u"delete * from  chektemp"_s);
    list().openWith(u"select * from chektemp "_s);
    start();
}

void TFrmStorChg::cmd_findClick() {
    WaitCursor wait;
    ListStockForAdjustment(*list().engine());
    list().openWith(u"select * from chektemp "_s);
    total_->setText(formatFloat(fieldSum(list(), u"gods_amou"_s)));
}

bool TFrmStorChg::beginEditing() {
    if (list().isEmpty()) return false;
    const auto answer = messages().show({.text = u"本操作将影响目前库存，确认是否继续操作?"_s,
                                         .caption = u"警告"_s,
                                         .buttons = QMessageBox::Ok | QMessageBox::Cancel,
                                         .icon = MessageIcon::Question});
    if (answer != QMessageBox::Ok) return false;
    WaitCursor wait;
    list().engine()->execute(u"update chektemp set chek_amou=gods_amou"_s);
    list().openWith(u"select * from chektemp "_s);
    return true;
}

// Every listed goods is written, changed or not, in one transaction; a quantity that is no
// number refuses the whole adjustment before anything is written.
bool TFrmStorChg::saveChanges() {
    if (list().isEmpty()) return true;
    WaitCursor wait;
    list().checkBrowseMode();
    std::vector<StockAdjustment> adjustments;
    adjustments.reserve(size_t(list().recordCount()));
    const int code = list().fieldIndex(u"gods_code"_s);
    const int quantity = list().fieldIndex(u"chek_amou"_s);
    for (int row = 0; row < list().recordCount(); ++row)
        adjustments.push_back({list().value(row, code).toString(), list().value(row, quantity)});
    ApplyStockAdjustment(*list().engine(), adjustments);
    return true;
}

void TFrmStorChg::cmd_prinClick() { previewLayout(u"QRcheck"_s, true); }

}  // namespace talvor
