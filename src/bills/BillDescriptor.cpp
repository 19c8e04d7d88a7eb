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
    return sales() ? module.OutMainQ : module.InMainQ;
}

Dataset* BillDescriptor::lines(const TFrmDataMod& module) const {
    return sales() ? module.OutGoodsQ : module.InGoodsQ;
}

QString BillDescriptor::linesStatement() const {
    return QStringLiteral(" select * from ") + QString(kind->lineTable) + QStringLiteral(" ") +
           QStringLiteral(" where bill_no=:bill_no ");
}

const BillDescriptor& BillDescriptor::purchase() {
    static const BillDescriptor d{
        .className = "TFrmIn",
        .caption = "进货管理",
        .module = 6,
        .kind = &BillKind::Purchase,
        .openStatement = "select top 1 * from inmain where bill_type='in'  and bill_date=:date1",
        .findStatement = "select  * from inmain where bill_no=:bill_no and bill_type='in' ",
        .priceColumn = "valu_in",
        .priceEmptiedForUnknownGoods = true,
        .pickerName = "BitBtn1",
        .companyCodeName = "DBEdit2",
        .amountPaidLabel = "实付金额",
        .firstRow = kFirstRowWithSettlement,
        .secondRow = {{H::CompanyCode, "客户编码"},
                      {H::CompanyName, "客户公司"},
                      {H::Currency, "币种"},
                      {H::Rate, "汇率"}}};
    return d;
}

const BillDescriptor& BillDescriptor::customerReturn() {
    static const BillDescriptor d{
        .className = "TFrmReturnIn",
        .caption = "顾客退货单",
        .module = 8,
        .kind = &BillKind::CustomerReturn,
        .openStatement = "select top 1 * from inmain where bill_type='retu'  and bill_date=:date1",
        .findStatement = "select  * from inmain where bill_no=:bill_no and bill_type='retu' ",
        .priceColumn = "valu_out",
        .remarkPickList = true,
        .handOver = GridHandOver::AnyKeyInSettlement,
        .pickerName = "BitBtn1",
        .companyCodeName = "DBEdit2",
        .amountPaidLabel = "实付金额",
        .firstRow = kFirstRowWithCurrency,
        .secondRow = {{H::CompanyCode, "客户编码"},
                      {H::CompanyName, "客户名称"},
                      {H::Settlement, "结算方式"},
                      {H::Rate, "汇率"}}};
    return d;
}

const BillDescriptor& BillDescriptor::sale() {
    static const BillDescriptor d{
        .className = "TFrmOut",
        .caption = "销售管理",
        .module = 9,
        .kind = &BillKind::Sale,
        .openStatement = "select top 1 * from outmain  where bill_type='out'  and bill_date=:date1",
        .findStatement = "select  * from outmain where bill_no=:bill_no",
        .priceColumn = "valu_out",
        .billNoAtEachPost = true,
        .handOver = GridHandOver::EnterInCurrency,
        .pickerName = "Button1",
        .companyCodeName = "DBEdit3",
        .amountPaidLabel = "实收金额",
        .firstRow = kFirstRowWithSettlement,
        .secondRow = {{H::CompanyCode, "客户编码"},
                      {H::CompanyName, "公司名称"},
                      {H::Phone, "联系电话"},
                      {H::Currency, "币种"},
                      {H::Rate, "汇率"}}};
    return d;
}

const BillDescriptor& BillDescriptor::returnToSupplier() {
    static const BillDescriptor d{
        .className = "TFrmReturnout",
        .caption = "退货厂商",
        .module = 10,
        .kind = &BillKind::ReturnToSupplier,
        .openStatement = "select top 1 * from outmain where bill_type='retu'  and bill_date=:date1",
        .findStatement = "select  * from outmain where bill_no=:bill_no and bill_type='retu' ",
        .priceColumn = "valu_in",
        .remarkPickList = true,
        .handOver = GridHandOver::AnyKeyInSettlement,
        .pickerName = "BitBtn1",
        .companyCodeName = "DBEdit3",
        .amountPaidLabel = "实收金额",
        .firstRow = kFirstRowWithCurrency,
        .secondRow = {{H::CompanyCode, "客户编码"},
                      {H::CompanyName, "客户名称"},
                      {H::Settlement, "结算方式"},
                      {H::Rate, "汇率"}}};
    return d;
}

}  // namespace talvor
