#include "warehouse/TFrmStorChk.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLineEdit>

#include "common/core/DataRoutines.h"
#include "datamodel/DataModule.h"
#include "datamodel/DisplayFormat.h"
#include "ui/ErrorReport.h"
#include "ui/LayoutPrinting.h"
#include "ui/Messages.h"
#include "ui/Progress.h"
#include "ui/WaitCursor.h"
#include "warehouse/StockScreenParts.h"
#include "warehouse/core/StockTaking.h"

namespace talvor {

namespace {

using namespace Qt::StringLiterals;

const GridEditDescriptor& stockTaking() {
    static const GridEditDescriptor d{
        .className = "TFrmStorChk",
        .caption = "库存盘点",
        .module = 17,
        .list = &TFrmDataMod::ChektempQ,
        .columns = {{u"gods_code"_s, u"商品编码"_s, 100, true},
                    {u"gods_name"_s, u"名称"_s, 180, true},
                    {u"gods_spec"_s, u"规格"_s, 100, true},
                    {u"gods_unit"_s, u"单位"_s, 60, true},
                    {u"gods_amou"_s, u"库存数量"_s, 90, true},
                    {u"chek_amou"_s, u"实盘数量"_s, 90},
                    {u"lost_amou"_s, u"盈亏数量"_s, 90, true}},
        .goodsCaptionColumns = 3,
        .buttons = chektempButtons("盘点[&V]"),
        .controls = chektempControls({"DateTimePicker1"}),
        .refusesCloseWhileEditing = false,
    };
    return d;
}

}  // namespace

TFrmStorChk::TFrmStorChk(QWidget* parent) : GridEditScreen(stockTaking(), parent), events_(list()) {
    WaitCursor wait;
    month_ = new QDateEdit(QDate::currentDate(), this);
    month_->setObjectName(u"DateTimePicker1"_s);
    month_->setDisplayFormat(u"yyyy'年'M'月'd'日'"_s);
    addLabeled(u"盘点月份"_s, month_);
    addCodeFinder("Edit_code", u"产品编码"_s, false);
    bookTotal_ = addTotalBox("Edit_zsl", u"库存总数量"_s);
    countedTotal_ = addTotalBox("Edit_pdsl", u"盘点数量"_s);
    boxRow()->addStretch();
    // Whatever the user counts is booked on the picker's date.
    events_.attach(&Dataset::beforePost,
                   [this](Dataset& d) { d.setValue(u"chek_date"_s, month_->date()); });
    start();
    list().engine()->execute(u"delete * from chektemp"_s);
    list().openWith(u"select * from chektemp"_s);
}

bool TFrmStorChk::beginEditing() {
    const QDate date = month_->date();
    try {
        StartStockTaking(*list().engine(), date);
    } catch (const StockRefused& refused) {
        messages().inform(refused.message());
        return false;
    } catch (const std::exception&) {
        return false;
    }
    messages().inform(
        u"本系统采用安全盘点法：'即初始默认盘点数量与实际库存'大部分相同的情况下进行盘点"_s);
    return quietly([this] {
        WaitCursor wait;
        list().openWith(u"select * from chektemp "_s);
    });
}

// The count and the ledger are written in one transaction, or nothing is.
bool TFrmStorChk::saveChanges() {
    list().checkBrowseMode();
    const QDate date = month_->date();
    return runWithProgress(this, u"库存盘点"_s, [this, date](Progress& progress) {
        SaveStockTaking(*list().engine(), date, progress);
    });
}

void TFrmStorChk::cmd_findClick() {
    showTotals(0, 0);
    if (!quietly([this] {
            LoadStockTaking(*list().engine(), month_->date());
            list().openWith(u"select * from chektemp "_s);
        }))
        return;
    if (list().isEmpty()) messages().inform(u"本月没有盘点数据！"_s);
    showTotals(fieldSum(list(), u"gods_amou"_s), fieldSum(list(), u"chek_amou"_s));
}

void TFrmStorChk::showTotals(double book, double counted) {
    bookTotal_->setText(formatFloat(book));
    countedTotal_->setText(formatFloat(counted));
}

void TFrmStorChk::cmd_prinClick() { previewLayout(u"QRpd"_s, true); }

}  // namespace talvor
