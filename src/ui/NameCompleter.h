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

// Puts a NameCompleter on an editable combo box, in place of its own prefix completion.
void completeNames(QComboBox* box, NamedTable table);

}  // namespace talvor
