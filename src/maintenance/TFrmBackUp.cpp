#include "maintenance/TFrmBackUp.h"

#include <QPushButton>

#include "datamodel/DataModule.h"
#include "maintenance/core/DatabaseCopy.h"
#include "ui/ErrorReport.h"
#include "ui/Messages.h"
#include "ui/Progress.h"

namespace talvor {

namespace {
constexpr int kBackupModule = 23;
}

TFrmBackUp::TFrmBackUp(QWidget* parent)
    : CopyDialog("TFrmBackUp", QStringLiteral("数据库备份"), QStringLiteral("请选择备份路径"),
                 QStringLiteral("备份"), kBackupModule, parent) {
    connectGuarded(actionButton(), &QPushButton::clicked, this, [this] { cmd_addClick(); });
}

void TFrmBackUp::cmd_addClick() {
    const QString directory = selectedDirectory();
    try {
        if (directory.isEmpty()) throw CopyError(QStringLiteral("没有选择备份路径"));
        const bool done = runWithProgress(this, windowTitle(), [&](Progress& progress) {
            backupDatabase(FrmDataMod()->AdoConn(), directory, progress);
        });
        if (!done) return;
    } catch (const CopyError& e) {
        messages().inform(QStringLiteral("数据备份错误\n%1").arg(e.message()),
                          MessageIcon::Warning);
        return;
    }
    messages().inform(QStringLiteral("数据备份完毕"));
}

}  // namespace talvor
