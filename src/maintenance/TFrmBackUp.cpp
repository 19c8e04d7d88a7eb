#include "maintenance/TFrmBackUp.h"

#include <QPushButton>

#include "datamodel/DataModule.h"
#include "maintenance/core/DatabaseCopy.h"
#include "ui/ErrorReport.h"
#include "ui/Messages.h"
#include "ui/WaitCursor.h"

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
    try {
        const WaitCursor wait;
        backupDatabase(FrmDataMod()->AdoConn().path(), selectedDirectory());
    } catch (const CopyError& e) {
        messages().inform(QStringLiteral("数据备份错误\n%1").arg(e.message()),
                          MessageIcon::Warning);
        return;
    }
    messages().inform(QStringLiteral("数据备份完毕"));
}

}  // namespace talvor
