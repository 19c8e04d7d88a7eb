#pragma once

#include <functional>

#include "maintenance/CopyDialog.h"

class QListWidget;

namespace talvor {

// 数据恢复: replaces the working database with a checked copy the user highlights.
class TFrmRestore : public CopyDialog {
    Q_OBJECT

  public:
    explicit TFrmRestore(QWidget* parent = nullptr);
    void cmd_addClick();

    // How the dialog ends the program when the restored data no longer know the logged-in
    // user.
    using EndProgram = std::function<void()>;
    void setEndProgram(EndProgram end) { end_ = std::move(end); }

  private:
    void listFiles(const QString& directory);
    QString highlightedFile() const;
    bool confirmed(const QString& file) const;
    void restoreFrom(const QString& file);
    void checkLoggedInUser();

    QListWidget* files_;
    EndProgram end_;
};

}  // namespace talvor
