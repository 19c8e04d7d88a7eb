#pragma once

#include <QLineEdit>
#include <QtTest/QTest>
#include <vector>

#include "master/MasterScreenFixture.h"
#include "reports/core/PreparedReport.h"
#include "reports/core/ReportLayout.h"
#include "ui/DataGrid.h"

namespace talvor::test {

// A database with every right, the report layouts, and the previews they would show.
class WarehouseFixture : public MasterScreenFixture {
  protected:
    report::ReportLayouts layouts{*t.module};
    std::vector<report::PreparedReport> previews;
    report::Presenter previous;

    WarehouseFixture() {
        previous = report::setPresenter(
            [this](const report::PreparedReport& r) { previews.push_back(r); });
    }
    ~WarehouseFixture() override { report::setPresenter(previous); }

    void goods(const QString& code, const QString& name, const QString& kind = {},
               QVariant maxAmount = {}, QVariant minAmount = {}) {
        t.exec(QStringLiteral("insert into goods (gods_code,gods_name,gods_kind,max_amou,min_amou) "
                              "values (:c,:n,:k,:mx,:mn)"),
               {{QStringLiteral("c"), code},
                {QStringLiteral("n"), name},
                {QStringLiteral("k"), kind},
                {QStringLiteral("mx"), maxAmount},
                {QStringLiteral("mn"), minAmount}});
    }
    void stock(const QString& code, QVariant amount, QVariant cost = {}) {
        t.exec(QStringLiteral("insert into storemain (gods_code,gods_amou,cost_pric) "
                              "values (:c,:a,:p)"),
               {{QStringLiteral("c"), code},
                {QStringLiteral("a"), amount},
                {QStringLiteral("p"), cost}});
    }
    double amount(const QString& code) {
        return t
            .scalar(QStringLiteral("select gods_amou from storemain where gods_code=:c"),
                    {{QStringLiteral("c"), code}})
            .toDouble();
    }
    static QString boxText(QWidget& screen, const char* name) {
        return child<QLineEdit>(screen, name)->text();
    }
    // Types into a cell through the grid's own editor and leaves it open, as a user who has
    // not yet left the cell.
    static void typeCell(QWidget& screen, int row, const QString& field, const QString& text) {
        screen.show();
        auto* grid = child<DataGrid>(screen, "DBGrid1");
        const QModelIndex cell = grid->model()->index(row, grid->datasetModel()->columnOf(field));
        grid->setCurrentIndex(cell);
        grid->edit(cell);
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(cell));
        ASSERT_NE(editor, nullptr) << "no editor at " << row << " " << field.toStdString();
        editor->setText(text);
    }
    // Moves the grid to another row, which writes a cell left open.
    static void leaveTo(QWidget& screen, int row) {
        auto* grid = child<DataGrid>(screen, "DBGrid1");
        grid->setCurrentIndex(grid->model()->index(row, 0));
    }
    // The codes the list holds, in its order.
    static QStringList codes(const Dataset& list) {
        QStringList all;
        for (int row = 0; row < list.recordCount(); ++row)
            all << list.value(row, QStringLiteral("gods_code")).toString();
        return all;
    }
};

}  // namespace talvor::test
