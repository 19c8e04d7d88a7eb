#pragma once

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QPushButton;
class QTreeView;
class QVBoxLayout;

namespace talvor {

// The frame of the backup and the restore dialog: a caption line, a directory tree (with a
// drive box above it where the platform has drives), the action button and 退出.
class CopyDialog : public QDialog {
    Q_OBJECT

  public:
    QString selectedDirectory() const;
    void selectDirectory(const QString& path);

  signals:
    void directoryChanged(const QString& path);

  protected:
    CopyDialog(const char* objectName, const QString& caption, const QString& prompt,
               const QString& action, int module, QWidget* parent);

    // Where a dialog puts what it shows beside the tree.
    QVBoxLayout* sideColumn() const { return side_; }
    QPushButton* actionButton() const { return action_; }

  private:
    QComboBox* drives_;
    QFileSystemModel* folders_;
    QTreeView* tree_;
    QVBoxLayout* side_;
    QPushButton* action_;
};

}  // namespace talvor
