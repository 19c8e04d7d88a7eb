#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include "datamodel/db/SqliteEngine.h"
#include "maintenance/TFrmBackUp.h"
#include "maintenance/TFrmRestore.h"
#include "maintenance/core/DatabaseCopy.h"
#include "master/MasterScreenFixture.h"

namespace talvor {
namespace {

class BackupRestoreScreenTest : public test::MasterScreenFixture {
  protected:
    QTemporaryDir backups;

    void addGoods(const char* code) {
        t.exec(QStringLiteral("insert into goods (gods_code) values (:c)"),
               {{QStringLiteral("c"), QString::fromUtf8(code)}});
    }
    int goods() { return count(QStringLiteral("select count(*) from goods")); }
    QString inBackups(const char* name) const {
        return QDir(backups.path()).filePath(QString::fromUtf8(name));
    }
};

TEST_F(BackupRestoreScreenTest, BackupWritesTheChosenDirectoryAndSaysSo) {
    addGoods("G1");
    TFrmBackUp screen;
    EXPECT_FALSE(child<QComboBox>(screen, "DC")->isVisibleTo(&screen)) << "no drives here";
    screen.selectDirectory(backups.path());
    click(screen, "cmd_add");
    EXPECT_EQ(answers.texts(), QStringList{QStringLiteral("数据备份完毕")});
    EXPECT_TRUE(QFile::exists(inBackups("talvor.mdb")));

    // A target that cannot be written: the copy's place is taken by a directory.
    answers.clear();
    ASSERT_TRUE(QDir(backups.path()).mkdir(QStringLiteral("talvor.mdb.part")));
    ASSERT_TRUE(QDir(inBackups("talvor.mdb.part")).mkdir(QStringLiteral("inside")));
    click(screen, "cmd_add");
    ASSERT_EQ(answers.texts().size(), 1);
    EXPECT_TRUE(answers.texts()[0].startsWith(u"数据备份错误\n"))
        << answers.texts()[0].toStdString();
    EXPECT_EQ(answers.shown()[0].icon, MessageIcon::Warning);
}

TEST_F(BackupRestoreScreenTest, RestoreTakesTheHighlightedFileAfterNamingIt) {
    addGoods("G1");
    backupDatabase(t.engine(), backups.path());  // talvor.mdb: one goods
    addGoods("G2");
    backupDatabase(t.engine(), backups.path());  // the first kept under its date, talvor.mdb: two
    addGoods("G3");
    Dataset& goodsQ = *t.module->GoodsQ;
    goodsQ.openWith(QStringLiteral("select * from goods order by gods_code"));

    TFrmRestore screen;
    screen.setEndProgram([] { ADD_FAILURE() << "the user is still there"; });
    screen.selectDirectory(backups.path());
    auto* files = child<QListWidget>(screen, "FB");
    ASSERT_EQ(files->count(), 2);
    EXPECT_EQ(files->currentItem()->text(), u"talvor.mdb");

    files->setCurrentRow(files->currentRow() == 0 ? 1 : 0);  // the dated, older one
    const QString older = QDir(backups.path()).filePath(files->currentItem()->text());
    answers.answer(QMessageBox::Cancel);
    click(screen, "cmd_add");
    ASSERT_EQ(answers.texts().size(), 1);
    EXPECT_TRUE(answers.texts()[0].startsWith(
        QStringLiteral("确认用 %1（").arg(QDir::toNativeSeparators(older))));
    EXPECT_TRUE(answers.texts()[0].contains(
        QFileInfo(older).lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
    EXPECT_TRUE(answers.texts()[0].endsWith(
        QStringLiteral("现有数据将先另存到 %1")
            .arg(QDir::toNativeSeparators(safetyCopyDirectory(t.engine(), older)))))
        << answers.texts()[0].toStdString();
    EXPECT_EQ(goods(), 3) << "cancelled";

    answers.clear();
    answers.answer(QMessageBox::Ok);
    click(screen, "cmd_add");
    EXPECT_EQ(answers.texts().last(), QStringLiteral("数据恢复完毕"));
    EXPECT_EQ(goods(), 1);
    EXPECT_TRUE(goodsQ.isActive()) << "the shared datasets are open again";
    EXPECT_EQ(goodsQ.recordCount(), 1);
}

TEST_F(BackupRestoreScreenTest, ACandidateThatIsNoDatabaseIsRefusedAndNothingCloses) {
    addGoods("G1");
    QFile text(inBackups("talvor.mdb"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a database");
    text.close();
    TFrmRestore screen;
    screen.selectDirectory(backups.path());
    click(screen, "cmd_add");
    ASSERT_EQ(answers.texts().size(), 2);
    EXPECT_TRUE(answers.texts()[1].startsWith(u"数据恢复错误\n"))
        << answers.texts()[1].toStdString();
    EXPECT_TRUE(t.module->connected());
    EXPECT_EQ(goods(), 1);
}

TEST_F(BackupRestoreScreenTest, AnEmptyDirectoryHasNothingToRestore) {
    TFrmRestore screen;
    screen.selectDirectory(backups.path());
    click(screen, "cmd_add");
    EXPECT_EQ(answers.texts(), QStringList{QStringLiteral("无数据可恢复")});
}

TEST_F(BackupRestoreScreenTest, RestoredDataWithoutTheLoggedInUserEndTheProgram) {
    backupDatabase(t.engine(), backups.path());
    {
        db::SqliteEngine copy;
        copy.open(inBackups("talvor.mdb"));
        copy.execute(QStringLiteral("delete from powers"));
    }
    TFrmRestore screen;
    int ends = 0;
    screen.setEndProgram([&] { ++ends; });
    screen.selectDirectory(backups.path());
    answers.answer(QMessageBox::Ok);
    click(screen, "cmd_add");
    EXPECT_EQ(answers.texts().last(), QStringLiteral("恢复的数据中没有当前用户 admin，请重新登录"));
    EXPECT_EQ(ends, 1);
}

}  // namespace
}  // namespace talvor
