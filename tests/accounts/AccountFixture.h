#pragma once

#include <QDate>
#include <vector>

#include "reports/core/PreparedReport.h"
#include "reports/core/ReportLayout.h"
#include "support/TestDatabase.h"

namespace talvor::test {

// A bill header with the figures the account screens read, in inmain or outmain.
inline void insertBill(TestDatabase& t, const char* table, const QString& billNo,
                       const QString& company, double due, const QVariant& received,
                       const QDate& date = QDate::currentDate()) {
    t.exec(QStringLiteral("insert into %1 (bill_no,bill_date,comp_code,shou_tota,fact_tota,"
                          "bill_type) values (:b,:d,:c,:s,:f,'out')")
               .arg(QLatin1String(table)),
           {{QStringLiteral("b"), billNo},
            {QStringLiteral("d"), date},
            {QStringLiteral("c"), company},
            {QStringLiteral("s"), due},
            {QStringLiteral("f"), received}});
}

// The layouts of the program, and every preview they show while this lives.
class RecordedPreviews {
  public:
    explicit RecordedPreviews(TFrmDataMod& data)
        : layouts_(data), previous_(report::setPresenter([this](const report::PreparedReport& r) {
              shown.push_back(r);
          })) {}
    ~RecordedPreviews() { report::setPresenter(previous_); }
    RecordedPreviews(const RecordedPreviews&) = delete;
    RecordedPreviews& operator=(const RecordedPreviews&) = delete;

    // The texts of a preview's first page, joined by "|".
    QString firstPage(size_t preview) const {
        return shown.at(preview).pages.at(0).textList().join(u'|');
    }

    std::vector<report::PreparedReport> shown;

  private:
    report::ReportLayouts layouts_;
    report::Presenter previous_;
};

}  // namespace talvor::test
