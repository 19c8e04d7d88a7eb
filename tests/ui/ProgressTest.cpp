#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include "support/TestDatabase.h"
#include "ui/Progress.h"

namespace talvor {
namespace {

class ProgressTest : public ::testing::Test {
  protected:
    test::TestDatabase t;

    long long goodsCount() {
        return t.scalar(QStringLiteral("select count(*) from goods")).toLongLong();
    }

    // Writes `rows` goods in one transaction, reporting each row, `pauseMs` apart.
    void writeGoods(Progress& progress, int rows, int pauseMs) {
        db::Transaction transaction(t.engine());
        progress.setLabel(QStringLiteral("正在写入..."));
        for (int i = 0; i < rows; ++i) {
            t.exec(QStringLiteral("insert into goods (gods_code,gods_name) values (:c,'货品')"),
                   {{QStringLiteral("c"), QString::number(i)}});
            if (pauseMs > 0) QThread::msleep(pauseMs);
            progress.advance(i + 1, rows);
        }
        transaction.commit();
    }

    static QProgressDialog* shownDialog() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QProgressDialog*>(w); dialog && dialog->isVisible())
                return dialog;
        return nullptr;
    }
};

TEST_F(ProgressTest, CancelInTheDialogRollsTheWorkBackAndRestoresTheCursor) {
    t.exec(QStringLiteral("insert into goods (gods_code,gods_name) values ('KEEP','旧货品')"));
    bool dialogSeen = false;
    QString dialogText;
    QTimer::singleShot(800, [&] {
        QProgressDialog* dialog = shownDialog();
        if (!dialog) return;
        dialogSeen = true;
        dialogText = dialog->labelText();
        dialog->findChild<QAbstractButton*>()->click();
    });

    const bool finished = runWithProgress(nullptr, QStringLiteral("导出"), [&](Progress& p) {
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        writeGoods(p, 400, 5);
    });

    EXPECT_FALSE(finished);
    EXPECT_TRUE(dialogSeen);
    EXPECT_EQ(dialogText, QStringLiteral("正在写入..."));
    EXPECT_EQ(goodsCount(), 1) << "the rows written before the cancel are gone";
    EXPECT_FALSE(t.engine().inTransaction());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(shownDialog(), nullptr);
}

TEST_F(ProgressTest, ShortWorkShowsNoDialog) {
    bool dialogSeen = false;
    const bool finished = runWithProgress(nullptr, QStringLiteral("导出"), [&](Progress& p) {
        for (int i = 1; i <= 100; ++i) p.advance(i, 100);
        dialogSeen = shownDialog() != nullptr;
    });
    EXPECT_TRUE(finished);
    EXPECT_FALSE(dialogSeen);
}

TEST_F(ProgressTest, OtherErrorsPassThroughAfterTheRollback) {
    EXPECT_THROW(runWithProgress(nullptr, QStringLiteral("导出"),
                                 [&](Progress& p) {
                                     writeGoods(p, 3, 0);
                                     db::Transaction again(t.engine());
                                     t.exec(QStringLiteral("insert into nosuchtable values (1)"));
                                 }),
                 std::exception);
    EXPECT_EQ(goodsCount(), 3) << "committed work stays";
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace talvor
