#include "master/TFrmStorIni.h"

#include "datamodel/DataModule.h"
#include "master/core/OpeningStock.h"
#include "ui/DataGrid.h"
#include "ui/ErrorReport.h"
#include "ui/Messages.h"
#include "ui/WaitCursor.h"

namespace talvor {

namespace {

using namespace Qt::StringLiterals;

const GridEditDescriptor& openingStock() {
    static const GridEditDescriptor d{
        .className = "TFrmStorIni",
        .caption = "库存产品初始化",
        .module = 4,
        .list = &TFrmDataMod::StoreiniQ,
        .columns = {{u"gods_code"_s, u"编码"_s, 100, true},
                    {u"gods_name"_s, u"名称"_s, 180, true},
                    {u"gods_spec"_s, u"规格"_s, 90, true},
                    {u"gods_type"_s, u"型号"_s, 90, true},
                    {u"gods_kind"_s, u"种类"_s, 80, true},
                    {u"gods_unit"_s, u"单位"_s, 50, true},
                    {u"gods_amou"_s, u"数量"_s, 80},
                    {u"cost_pric"_s, u"成本"_s, 80}},
        .goodsCaptionColumns = 5,
        .buttons = {{"cmd_add", "导入[&A]"},
                    {"cmd_edit", "修改[&E]"},
                    {"cmd_dele", "删除[&D]"},
                    {"cmd_save", "保存[&S]"},
                    {"cmd_canc", "取消[&C]"}},
        .controls = {{"cmd_add", true, false, false, Right::Add},
                     {"cmd_edit", true, false, false, Right::Edit},
                     {"cmd_dele", true, false, true, Right::Delete},
                     {"cmd_save", false, false, true},
                     {"cmd_canc", false, false, true},
                     {"cmd_exit", true, false, false}},
    };
    return d;
}

const QString kLedger = u"select * from storemain "_s;

}  // namespace

TFrmStorIni::TFrmStorIni(QWidget* parent) : GridEditScreen(openingStock(), parent) {
    WaitCursor wait;
    list().setLockMode(LockMode::Batch);
    list().openWith(kLedger);
    start();
}

void TFrmStorIni::cmd_addClick() {
    const auto answer =
        messages().show({.text = u"本操作将商品资料库中的所有产品添加到库存资料中，\n"
                                 "但不会影响当前库存数量，是否执行?"_s,
                         .caption = u"确认"_s,
                         .buttons = QMessageBox::Ok | QMessageBox::Cancel,
                         .icon = MessageIcon::Question});
    if (answer != QMessageBox::Ok) return;
    WaitCursor wait;
    quietly([this] {
        ImportGoodsIntoStock(*list().engine());
        list().openWith(kLedger);
    });
    setMode(ScreenMode::Null);
}

// The deletion goes to the database at once, and with it every change held so far.
void TFrmStorIni::cmd_deleClick() {
    if (!messages().confirm(u"此操作将删除本条数据，确认删除?"_s)) return;
    grid().commitEditing();
    quietly([this] {
        list().deleteRow();
        list().updateBatch();
    });
}

}  // namespace talvor
