#include "datamodel/Rights.h"

namespace talvor {

const std::array<ModuleInfo, kModuleCount>& modules() {
    static const std::array<ModuleInfo, kModuleCount> table = {{
        {0, "员工资料", "员工资料", "N3", "TFrmEmployee"},
        {1, "产品资料", "产品资料", "N4", "TFrmGoods"},
        {2, "客户资料", "客户资料", "N5", "TFrmCompany"},
        {3, "基本设置", "基本设置", "N6", "TFrmUser"},
        {4, "库存初始化", "库存初始化", "N7", "TFrmStorIni"},
        {5, "权限设置", "权限设置", "N8", "TFrmPower"},
        {6, "进货输入", "进货输入", "N10", "TFrmIn"},
        {7, "进货统计", "进货统计", "N11", "TFrmInlist"},
        {8, "顾客退货", "顾客退货", "N12", "TFrmReturnIn"},
        {9, "销售输入", "销售输入", "N20", "TFrmOut"},
        {10, "退货厂商", "退货厂商", "N22", "TFrmReturnout"},
        {11, "出货统计", "出货统计", "N23", "TFrmOutList"},
        {12, "出货排行—按货品", "出货排行-按货品", "N24", "TFrmOutSortG"},
        {13, "出货排行—按客户", "出货排行-按客户", "N25", "TFrmOutSortC"},
        {14, "库存查询", "库存查询", "N31", "TFrmStore"},
        {15, "库存报警", "库存报警", "N15", "TFrmAlarm"},
        {16, "库存调整", "库存调整", "N32", "TFrmStorChg"},
        {17, "库存盘点", "库存盘点", "N33", "TFrmStorChk"},
        {18, "进销存明细", "进销存明细", "N34", "TFrmMios"},
        {19, "收款单", "收款单", "N39", "TFrmGath"},
        {20, "付款单", "付款单", "N40", "TFrmPay"},
        {21, "进货对帐单", "进货对帐单", "N41", "TFrmIncost"},
        {22, "出货对帐单", "出货对帐单", "N42", "TFrmOutcost"},
        {23, "数据备份", "数据备份", "N46", "TFrmBackUp"},
        {24, "数据恢复", "数据恢复", "N47", "TFrmRestore"},
    }};
    return table;
}

bool rightGiven(const QString& rights, int module) {
    return module >= 0 && module < rights.size() && rights[module] == u'1';
}

bool User::has(Right right, int module) const { return rightGiven(rightsOf(right), module); }

User& CurrentUser() {
    static User user;
    return user;
}

bool HasRight(Right right, int module) { return CurrentUser().has(right, module); }

}  // namespace talvor
