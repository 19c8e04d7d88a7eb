#include "maintenance/CopyDialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "datamodel/Rights.h"

namespace talvor {

namespace {

// Drives exist where the file system has more than the one root "/".
bool platformHasDrives() {
    const QFileInfoList roots = QDir::drives();
    return roots.size() > 1 || (roots.size() == 1 && roots[0].filePath() != u"/");
}

}  // namespace

CopyDialog::CopyDialog(const char* objectName, const QString& caption, const QString& prompt,
                       const QString& action, int module, QWidget* parent)
    : QDialog(parent),
      drives_(new QComboBox(this)),
      folders_(new QFileSystemModel(this)),
      tree_(new QTreeView(this)),
      side_(new QVBoxLayout),
      action_(new QPushButton(action, this)) {
    setObjectName(QLatin1String(objectName));
    setWindowTitle(caption);

    drives_->setObjectName(QStringLiteral("DC"));
    for (const QFileInfo& drive : QDir::drives())
        drives_->addItem(QDir::toNativeSeparators(drive.filePath()), drive.filePath());
    drives_->setVisible(platformHasDrives());

    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folders_->setRootPath(QString());
    tree_->setObjectName(QStringLiteral("DL"));
    tree_->setModel(folders_);
    for (int c = 1; c < folders_->columnCount(); ++c) tree_->hideColumn(c);
    tree_->header()->hide();
    tree_->setMinimumSize(260, 280);
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { emit directoryChanged(selectedDirectory()); });
    connect(drives_, &QComboBox::activated, this,
            [this](int index) { selectDirectory(drives_->itemData(index).toString()); });

    action_->setObjectName(QStringLiteral("cmd_add"));
    action_->setEnabled(HasRight(Right::Add, module));
    auto* exit = new QPushButton(QStringLiteral("退出"), this);
    exit->setObjectName(QStringLiteral("BitBtn1"));
    connect(exit, &QPushButton::clicked, this, &QDialog::close);

    auto* tree = new QVBoxLayout;
    tree->addWidget(drives_);
    tree->addWidget(tree_);
    auto* body = new QHBoxLayout;
    body->addLayout(tree);
    body->addLayout(side_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(action_);
    buttons->addWidget(exit);
    auto* top = new QVBoxLayout(this);
    top->addWidget(new QLabel(prompt, this));
    top->addLayout(body);
    top->addLayout(buttons);
    top->setSizeConstraint(QLayout::SetFixedSize);

    selectDirectory(QDir::currentPath());
}

QString CopyDialog::selectedDirectory() const { return folders_->filePath(tree_->currentIndex()); }

void CopyDialog::selectDirectory(const QString& path) {
    const QModelIndex index = folders_->index(QDir(path).absolutePath());
    tree_->setCurrentIndex(index);
    tree_->scrollTo(index);
    tree_->expand(index);
}

}  // namespace talvor
