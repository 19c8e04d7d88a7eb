#include "maintenance/TFrmRestore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "datamodel/DataModule.h"
#include "datamodel/Users.h"
#include "maintenance/core/DatabaseCopy.h"
#include "ui/ErrorReport.h"
#include "ui/Messages.h"
#include "ui/Progress.h"

namespace talvor {

namespace {

constexpr int kRestoreModule = 24;

// Connects again to the working database and reopens the shared datasets that were open,
// whether the restore went through or not.
class Reconnection {
  public:
    explicit Reconnection(TFrmDataMod& module) : module_(module) {
        for (Dataset* d : module.datasets())
            if (d->isActive()) open_.push_back(d);
        path_ = module.AdoConn().path();
        module.disconnect();
    }
    ~Reconnection() {
        if (!quietly([this] { module_.connectTo(path_); })) return;
        for (Dataset* d : open_) quietly([d] { d->open(); });
    }

  private:
    TFrmDataMod& module_;
    QString path_;
    std::vector<Dataset*> open_;
};

}  // namespace

TFrmRestore::TFrmRestore(QWidget* parent)
    : CopyDialog("TFrmRestore", QStringLiteral("数据恢复"), QStringLiteral("请选择已经备份的文件"),
                 QStringLiteral("恢复"), kRestoreModule, parent),
      files_(new QListWidget(this)),
      end_([] { QCoreApplication::exit(0); }) {
    files_->setObjectName(QStringLiteral("FB"));
    files_->setMinimumWidth(220);
    sideColumn()->addWidget(files_);
    connect(this, &CopyDialog::directoryChanged, this,
            [this](const QString& directory) { listFiles(directory); });
    connectGuarded(actionButton(), &QPushButton::clicked, this, [this] { cmd_addClick(); });
    listFiles(selectedDirectory());
}

void TFrmRestore::listFiles(const QString& directory) {
    files_->clear();
    if (directory.isEmpty()) return;
    files_->addItems(QDir(directory).entryList({QStringLiteral("*.mdb")}, QDir::Files,
                                               QDir::Name | QDir::IgnoreCase));
    const QList<QListWidgetItem*> usual = files_->findItems(kBackupFileName, Qt::MatchFixedString);
    files_->setCurrentItem(usual.isEmpty() ? files_->item(0) : usual.first());
}

QString TFrmRestore::highlightedFile() const {
    const QListWidgetItem* item = files_->currentItem();
    return item ? QDir(selectedDirectory()).filePath(item->text()) : QString();
}

bool TFrmRestore::confirmed(const QString& file) const {
    const QString when =
        QFileInfo(file).lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const QString safety = safetyCopyDirectory(FrmDataMod()->AdoConn(), file);
    return messages().confirm(
        QStringLiteral("确认用 %1（%2）恢复数据？\n现有数据将先另存到 %3")
            .arg(QDir::toNativeSeparators(file), when, QDir::toNativeSeparators(safety)));
}

void TFrmRestore::cmd_addClick() {
    if (files_->count() == 0) {
        messages().inform(QStringLiteral("无数据可恢复"));
        return;
    }
    const QString file = highlightedFile();
    if (!confirmed(file)) return;
    restoreFrom(file);
}

void TFrmRestore::restoreFrom(const QString& file) {
    QString failure = restoreRefusal(file);
    bool done = true;
    if (failure.isEmpty()) {
        const Reconnection reconnection(*FrmDataMod());
        try {
            done = runWithProgress(this, windowTitle(), [&](Progress& progress) {
                restoreDatabase(file, FrmDataMod()->AdoConn(), progress);
            });
        } catch (const CopyError& e) {
            failure = e.message();
        }
    }
    if (!done) return;
    if (!failure.isEmpty()) {
        messages().inform(QStringLiteral("数据恢复错误\n%1").arg(failure), MessageIcon::Warning);
        return;
    }
    messages().inform(QStringLiteral("数据恢复完毕"));
    checkLoggedInUser();
}

// The restored users may not hold the one who is working: the program then ends rather than
// go on under a user the data do not know.
void TFrmRestore::checkLoggedInUser() {
    bool known = false;
    reportErrors([&] { known = userExists(*FrmDataMod()->TempQ, CurrentUser().id); });
    if (known) return;
    messages().inform(
        QStringLiteral("恢复的数据中没有当前用户 %1，请重新登录").arg(CurrentUser().id),
        MessageIcon::Warning);
    end_();
}

}  // namespace talvor
