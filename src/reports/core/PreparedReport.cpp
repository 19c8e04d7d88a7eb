#include "reports/core/PreparedReport.h"

#include <QStringList>

namespace talvor::report {

QStringList PreparedPage::textList() const {
    QStringList list;
    list.reserve(qsizetype(texts.size()));
    for (const PreparedText& t : texts) list.append(t.text);
    return list;
}

}  // namespace talvor::report
