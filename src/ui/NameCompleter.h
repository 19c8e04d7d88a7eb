#pragma once

#include <QCompleter>

#include "master/core/NameSearch.h"

class QComboBox;
class QLineEdit;
class QStringListModel;

namespace talvor {

// Completes a goods or company name as the user types: it offers the names that contain the
// text or whose pinyin initials do ("hd" offers 华东贸易公司), and choosing one puts it into
// the box.
class NameCompleter : public QCompleter {
    Q_OBJECT

  public:
    NameCompleter(NamedTable table, QLineEdit* box);

    // The most names offered at once.
    static constexpr int kOffered = 50;

  private:
    void offer(const QString& typed);

    NamedTable table_;
    QStringListModel* names_;
};

// Puts a NameCompleter on an editable combo box, in place of its own prefix completion; the
// box need not list the names.
void completeNames(QComboBox* box, NamedTable table);
// The same for a combo box whose items come from `column` of `table`, where that column is the
// name of goods or companies; other boxes keep their own completion.
void completeNamesOf(QComboBox* box, const QString& table, const QString& column);

}  // namespace talvor
