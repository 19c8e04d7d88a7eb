#include "ui/NameCompleter.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QStringListModel>

#include "datamodel/DataModule.h"
#include "ui/ErrorReport.h"

namespace talvor {

NameCompleter::NameCompleter(NamedTable table, QLineEdit* box)
    : QCompleter(box), table_(table), names_(new QStringListModel(this)) {
    setModel(names_);
    // The names come already chosen by the search; the completer must not filter them again
    // by their beginning.
    setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    setMaxVisibleItems(12);
    box->setCompleter(this);
    connect(box, &QLineEdit::textEdited, this, &NameCompleter::offer);
}

void NameCompleter::offer(const QString& typed) {
    QStringList names;
    quietly([&] { names = matchingNames(FrmDataMod()->AdoConn(), table_, typed, kOffered); });
    names_->setStringList(names);
    if (names.isEmpty())
        popup()->hide();
    else
        complete();
}

void completeNames(QComboBox* box, NamedTable table) {
    auto* completer = new NameCompleter(table, box->lineEdit());
    box->setCompleter(completer);
    // The combo looks a chosen name up among its items and empties the box when it lists no
    // names (the goods find dialog lists none), so the name is put back after it.
    QObject::connect(completer, qOverload<const QString&>(&QCompleter::activated), box,
                     &QComboBox::setEditText);
}

void completeNamesOf(QComboBox* box, const QString& table, const QString& column) {
    const auto is = [&](const char* t, const char* c) {
        return table.compare(QLatin1String(t), Qt::CaseInsensitive) == 0 &&
               column.compare(QLatin1String(c), Qt::CaseInsensitive) == 0;
    };
    if (is("goods", "gods_name")) completeNames(box, NamedTable::Goods);
    if (is("company", "comp_name")) completeNames(box, NamedTable::Company);
}

}  // namespace talvor
