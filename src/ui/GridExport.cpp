#include "ui/GridExport.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QShortcut>
#include <QStandardPaths>
#include <QTableView>

#include "datamodel/Error.h"
#include "ui/Messages.h"
#include "ui/Progress.h"

namespace talvor {

namespace {

struct FormatInfo {
    QString caption;
    QString suffix;
    QString filter;
};

FormatInfo infoOf(ExportFormat format) {
    if (format == ExportFormat::Xlsx)
        return {QStringLiteral("导出Excel"), QStringLiteral("xlsx"),
                QStringLiteral("Excel 工作簿 (*.xlsx)")};
    return {QStringLiteral("导出CSV"), QStringLiteral("csv"), QStringLiteral("CSV 文件 (*.csv)")};
}

std::vector<int> shownColumns(const QTableView* grid) {
    const QHeaderView* header = grid->horizontalHeader();
    std::vector<int> columns;
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical)) columns.push_back(logical);
    }
    return columns;
}

// The folder of the last export, for the rest of the run.
QString& lastFolder() {
    static QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder;
}

QString askPath(QTableView* grid, const FormatInfo& info) {
    QString name = grid->window()->windowTitle().trimmed();
    if (name.isEmpty()) name = QStringLiteral("导出");
    const QString proposed = QDir(lastFolder()).filePath(name + u'.' + info.suffix);
    QString path = QFileDialog::getSaveFileName(grid, info.caption, proposed, info.filter);
    if (path.isEmpty()) return path;
    if (QFileInfo(path).suffix().compare(info.suffix, Qt::CaseInsensitive) != 0)
        path += u'.' + info.suffix;
    lastFolder() = QFileInfo(path).absolutePath();
    return path;
}

void exportAsked(QTableView* grid, ExportFormat format) {
    const QString path = askPath(grid, infoOf(format));
    if (!path.isEmpty()) exportGrid(grid, path, format);
}

QAction* exportAction(QTableView* grid, ExportFormat format) {
    auto* action = new QAction(infoOf(format).caption, grid);
    QObject::connect(action, &QAction::triggered, grid,
                     [grid, format] { exportAsked(grid, format); });
    return action;
}

}  // namespace

void offerExport(QTableView* grid) {
    grid->addAction(exportAction(grid, ExportFormat::Xlsx));
    grid->addAction(exportAction(grid, ExportFormat::Csv));
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_E), grid);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(shortcut, &QShortcut::activated, grid, [grid] {
        const QRect cell = grid->visualRect(grid->currentIndex());
        const QPoint at = cell.isValid() ? cell.bottomLeft() : QPoint(0, 0);
        QMenu::exec(grid->actions(), grid->viewport()->mapToGlobal(at), nullptr, grid);
    });
}

bool exportGrid(QTableView* grid, const QString& path, ExportFormat format) {
    const std::vector<int> columns = shownColumns(grid);
    try {
        return runWithProgress(grid, infoOf(format).caption, [&](Progress& progress) {
            progress.setLabel(QStringLiteral("正在导出到 %1 ...").arg(QFileInfo(path).fileName()));
            exportTable(*grid->model(), columns, path, format, progress);
        });
    } catch (const Error& e) {
        messages().inform(QStringLiteral("导出失败：%1").arg(e.message()), MessageIcon::Warning);
        return false;
    }
}

}  // namespace talvor
