#include "bills/BillDescriptor.h"

#include "datamodel/DataModule.h"

namespace talvor {

namespace {

using H = HeaderItem;

const std::vector<HeaderField> kFirstRowWithSettlement = {{H::Voucher, "凭 证 号"},
                                                          {H::BillNo, "单流水号"},
                                                          {H::Date, "开单日期"},
                                                          {H::Settlement, "结算方式"}};
const std::vector<HeaderField> kFirstRowWithCurrency = {{H::Voucher, "凭 证 号"},
                                                        {H::BillNo, "单流水号"},
                                                        {H::Date, "开单日期"},
                                                        {H::Currency, "币种"}};

}  // namespace

Dataset* BillDescriptor::header(const TFrmDataMod& module) const {
    return sales ? module.OutMainQ : module.InMainQ;
}

Dataset* BillDescriptor::lines(const TFrmDataMod& module) const {
    return sales ? module.OutGoodsQ : module.InGoodsQ;
}

QString BillDescriptor::linesStatement() const {
    return QStringLiteral(" select * from ") + QString(kind->lineTable) + QStringLiteral(" ") +
           QStringLiteral(" where bill_no=:bill_no ");
}

const BillDescriptor& BillDescriptor::purchase() {
    static const BillDescriptor d{
        "TFrmIn",
        "进货管理",
        6,
        &BillKind::Purchase,
        false,
        "select top 1 * from inmain where bill_type='in'  and bill_date=:date1",
        "select  * from inmain where bill_no=:bill_no and bill_type='in' ",
        "valu_in",
        true,
        false,
        false,
        GridHandOver::None,
        "BitBtn1",
        "DBEdit2",
        "实付金额",
        kFirstRowWithSettlement,
        {{H::CompanyCode, "客户编码"},
         {H::CompanyName, "客户公司"},
         {H::Currency, "币种"},
         {H::Rate, "汇率"}}};
    return d;
}

const BillDescriptor& BillDescriptor::customerReturn() {
    static const BillDescriptor d{
        "TFrmReturnIn",
        "顾客退货单",
        8,
        &BillKind::CustomerReturn,
        false,
        "select top 1 * from inmain where bill_type='retu'  and bill_date=:date1",
        "select  * from inmain where bill_no=:bill_no and bill_type='retu' ",
        "valu_out",
        false,
        false,
        true,
        GridHandOver::AnyKeyInSettlement,
        "BitBtn1",
        "DBEdit2",
        "实付金额",
        kFirstRowWithCurrency,
        {{H::CompanyCode, "客户编码"},
         {H::CompanyName, "客户名称"},
         {H::Settlement, "结算方式"},
         {H::Rate, "汇率"}}};
    return d;
}

const BillDescriptor& BillDescriptor::sale() {
    static const BillDescriptor d{
        "TFrmOut",
        "销售管理",
        9,
        &BillKind::Sale,
        true,
        "select top 1 * from outmain  where bill_type='out'  and bill_date=:date1",
        "select  * from outmain where bill_no=:bill_no",
        "valu_out",
        false,
        true,
        false,
        GridHandOver::EnterInCurrency,
        "Button1",
        "DBEdit3",
        "实收金额",
        kFirstRowWithSettlement,
        {{H::CompanyCode, "客户编码"},
         {H::CompanyName, "公司名称"},
         {H::Phone, "联系电话"},
         {H::Currency, "币种"},
         {H::Rate, "汇率"}}};
    return d;
}

const BillDescriptor& BillDescriptor::returnToSupplier() {
    static const BillDescriptor d{
        "TFrmReturnout",
        "退货厂商",
        10,
        &BillKind::ReturnToSupplier,
        true,
        "select top 1 * from outmain where bill_type='retu'  and bill_date=:date1",
        "select  * from outmain where bill_no=:bill_no and bill_type='retu' ",
        "valu_in",
        false,
        false,
        true,
        GridHandOver::AnyKeyInSettlement,
        "BitBtn1",
        "DBEdit3",
        "实收金额",
        kFirstRowWithCurrency,
        {{H::CompanyCode, "客户编码"},
         {H::CompanyName, "客户名称"},
         {H::Settlement, "结算方式"},
         {H::Rate, "汇率"}}};
    return d;
}

}  // namespace talvor
