#pragma once

#include <QDate>
#include <QStringList>
#include <map>
#include <optional>

#include "bills/core/BillOperations.h"
#include "support/TestDatabase.h"

namespace talvor::test {

// One ledger row as a test states it; no cost means an empty cost_pric.
struct Stock {
    QString code;
    double amount = 0;
    std::optional<double> cost;
};

// The datasets of one bill screen, moved the way the screen moves them: a new bill is a posted
// header row put back into editing, lines follow the header's number, saving passes the posted
// lines' total quantity.
class BillEntry {
  public:
    BillEntry(TFrmDataMod& module, const BillKind& kind)
        : kind(kind),
          header(kind.receiving ? module.InMainQ : module.OutMainQ),
          lines(kind.receiving ? module.InGoodsQ : module.OutGoodsQ) {
        header->setSql(
            QStringLiteral("select * from %1 where bill_no=:bill_no").arg(kind.headerTable));
        header->setParam(QStringLiteral("bill_no"), QString());
        lines->setSql(
            QStringLiteral(" select * from %1  where bill_no=:bill_no ").arg(kind.lineTable));
        lines->setMasterLink(header, QStringLiteral("bill_no"), QStringLiteral("bill_no"));
        lines->onNewRecord = [this](Dataset& d) {
            d.setValue(QStringLiteral("bill_no"), header->value(QStringLiteral("bill_no")));
        };
        header->open();
    }
    ~BillEntry() {
        lines->clearEvents();
        lines->clearMasterLink();
    }

    void begin(const QString& billNo, const QVariant& date = QDate(2024, 3, 5)) {
        header->append();
        header->setValue(QStringLiteral("bill_no"), billNo);
        header->setValue(QStringLiteral("bill_date"), date);
        header->setValue(QStringLiteral("shou_tota"), 0.0);
        header->post();
        header->edit();
    }

    void addLine(const QString& code, double amount, double price = 0, const QString& remark = {}) {
        lines->append();
        lines->setValue(QStringLiteral("gods_code"), code);
        lines->setValue(QStringLiteral("sub_amou"), amount);
        lines->setValue(QStringLiteral("unit_pric"), price);
        if (!remark.isEmpty()) lines->setValue(QStringLiteral("remark"), remark);
        lines->post();
    }

    void open(const QString& billNo) {
        header->close();
        header->setParam(QStringLiteral("bill_no"), billNo);
        header->open();
    }

    void beginEdit() { header->edit(); }

    void setLine(int row, const char* field, const QVariant& value) {
        lines->setCurrentRow(row);
        lines->setValue(QLatin1String(field), value);
        lines->post();
    }

    void removeLine(int row) {
        lines->setCurrentRow(row);
        lines->deleteRow();
    }

    double totalQuantity() const {
        double total = 0;
        for (int row = 0; row < lines->recordCount(); ++row)
            total += lines->value(row, QStringLiteral("sub_amou")).toDouble();
        return total;
    }

    BillResult save() { return save(totalQuantity()); }
    BillResult save(double total) { return SaveBill(kind, *header, *lines, total); }

    BillResult remove(const std::function<bool()>& confirm = {}) {
        return DeleteBill(kind, *header, *lines, confirm);
    }

    QString billNo() const { return header->text(QStringLiteral("bill_no")); }

    const BillKind& kind;
    Dataset* header;
    Dataset* lines;
};

class LedgerDatabase : public TestDatabase {
  public:
    void setStock(const Stock& s) {
        exec(QStringLiteral(
                 "insert into storemain (gods_code,gods_amou,cost_pric) values (:c,:a,:p)"),
             {{QStringLiteral("c"), s.code},
              {QStringLiteral("a"), s.amount},
              {QStringLiteral("p"), s.cost ? QVariant(*s.cost) : QVariant()}});
    }

    std::optional<Stock> stock(const QString& code) {
        const db::ResultSet r = engine().query(
            QStringLiteral("select gods_amou,cost_pric from storemain where gods_code=:c"),
            {{QStringLiteral("c"), code}});
        if (r.rows.empty()) return std::nullopt;
        const QVariant cost = r.rows[0][1];
        return Stock{code, r.rows[0][0].toDouble(),
                     cost.isNull() ? std::nullopt : std::optional<double>(cost.toDouble())};
    }

    int count(const QString& table, const QString& where = QStringLiteral("1=1")) {
        return scalar(QStringLiteral("select count(*) from %1 where %2").arg(table, where)).toInt();
    }

    // Every row of every table, as text, to tell whether anything at all was written.
    std::map<QString, QStringList> dump() {
        std::map<QString, QStringList> tables;
        for (const db::TableDef& table : db::schemaTables()) {
            const QString name = QLatin1String(table.name);
            // Each new database salts its administrator's password hash anew.
            if (table.scratch || name == u"powers") continue;
            QStringList rows;
            for (const db::ResultRow& row :
                 engine().query(QStringLiteral("select * from ") + name).rows) {
                QStringList values;
                for (const QVariant& v : row)
                    values << (v.isNull() ? QStringLiteral("<null>") : v.toString());
                rows << values.join(u'|');
            }
            rows.sort();
            tables[name] = rows;
        }
        return tables;
    }
};

}  // namespace talvor::test
