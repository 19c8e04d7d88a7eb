#pragma once

#include <QDate>

#include "support/TestDatabase.h"

namespace talvor::test {

// Bills of both sides entered row by row into a test database, with the goods and companies
// they name.
struct BillRows {
    TestDatabase& db;

    explicit BillRows(TestDatabase& database) : db(database) {
        db.exec(
            QStringLiteral("insert into goods (gods_code,gods_name,gods_spec,gods_unit) values "
                           "('G1','保温杯','500ml','个'),('G2','雨伞','长柄','把'),"
                           "('G3','毛巾','纯棉','条')"));
        db.exec(
            QStringLiteral("insert into company (comp_code,comp_name,head_name) values "
                           "('C1','华东五金','王经理'),('C2','城西百货','李经理')"));
    }

    void bill(const QString& header, const QString& billNo, const QDate& date,
              const QString& company, const QString& type) {
        db.exec(QStringLiteral("insert into %1 (bill_no,bill_date,comp_code,bill_type) "
                               "values (:b,:d,:c,:k)")
                    .arg(header),
                {{QStringLiteral("b"), billNo},
                 {QStringLiteral("d"), date},
                 {QStringLiteral("c"), company},
                 {QStringLiteral("k"), type}});
    }

    void line(const QString& lines, const QString& billNo, const QString& goods, double price,
              double quantity) {
        db.exec(QStringLiteral("insert into %1 (bill_no,gods_code,unit_pric,sub_amou) "
                               "values (:b,:g,:p,:q)")
                    .arg(lines),
                {{QStringLiteral("b"), billNo},
                 {QStringLiteral("g"), goods},
                 {QStringLiteral("p"), price},
                 {QStringLiteral("q"), quantity}});
    }

    // A sales bill of one line.
    void sale(const QString& billNo, const QDate& date, const QString& company,
              const QString& goods, double price, double quantity) {
        bill(QStringLiteral("outmain"), billNo, date, company, QStringLiteral("out"));
        line(QStringLiteral("outgoods"), billNo, goods, price, quantity);
    }
};

}  // namespace talvor::test
