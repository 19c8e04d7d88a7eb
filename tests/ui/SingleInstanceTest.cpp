#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "ui/Messages.h"

namespace talvor {
namespace {

// The other copy of the program: this test executable run again with only the child test
// selected. TALVOR_GUARD_CHILD says what it does with the guard at TALVOR_GUARD_PATH.
TEST(SingleInstanceChild, ActsAsAnotherCopy) {
    const QString mode = qEnvironmentVariable("TALVOR_GUARD_CHILD");
    if (mode.isEmpty()) GTEST_SKIP() << "runs only as the other copy";
    SingleInstanceGuard guard(qEnvironmentVariable("TALVOR_GUARD_PATH"));
    const bool held = guard.acquire();
    std::printf("%s\n", held ? "held" : "refused");
    std::fflush(stdout);
    if (mode == u"crash") std::_Exit(3);  // ends without releasing anything
    if (mode == u"hold") std::getchar();  // until the test lets go
}

class SingleInstanceTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString lockPath = dir.filePath(QStringLiteral("talvor.lock"));

    // Starts the other copy; returns once it has said whether it holds the guard.
    std::unique_ptr<QProcess> startCopy(const char* mode, QString* answer) {
        auto copy = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TALVOR_GUARD_CHILD"), QLatin1String(mode));
        env.insert(QStringLiteral("TALVOR_GUARD_PATH"), lockPath);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        copy->setProcessEnvironment(env);
        copy->start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=SingleInstanceChild.*")});
        while (copy->waitForReadyRead(10000)) {
            const QString out = QString::fromLocal8Bit(copy->readAllStandardOutput());
            for (const char* word : {"held", "refused"})
                if (out.contains(QLatin1String(word))) {
                    *answer = QLatin1String(word);
                    return copy;
                }
        }
        ADD_FAILURE() << "the other copy said nothing";
        return copy;
    }

    QString probe() {
        QString answer;
        auto copy = startCopy("probe", &answer);
        copy->waitForFinished();
        return answer;
    }
};

TEST_F(SingleInstanceTest, ASecondProcessIsRefusedWhileTheFirstRuns) {
    {
        SingleInstanceGuard first(lockPath);
        ASSERT_TRUE(first.acquire());
        EXPECT_EQ(probe(), QStringLiteral("refused"));
    }
    EXPECT_EQ(probe(), QStringLiteral("held")) << "a copy that ended lets the next one start";
}

TEST_F(SingleInstanceTest, ACrashedCopyDoesNotBlockTheNextStart) {
    QString answer;
    auto crashed = startCopy("crash", &answer);
    crashed->waitForFinished();
    ASSERT_EQ(answer, QStringLiteral("held"));
    ASSERT_TRUE(QFile::exists(lockPath)) << "the crash left its lock file behind";

    SingleInstanceGuard next(lockPath);
    EXPECT_TRUE(next.acquire());
}

TEST_F(SingleInstanceTest, TheSecondCopyOnlySaysThatTheProgramRuns) {
    QString answer;
    auto running = startCopy("hold", &answer);
    ASSERT_EQ(answer, QStringLiteral("held"));

    ScriptedMessages messages;
    const QWidgetList windowsBefore = QApplication::topLevelWidgets();
    SingleInstanceGuard guard(lockPath);
    EXPECT_FALSE(ensureSingleInstance(guard));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("程序已经运行"));
    EXPECT_EQ(messages.shown()[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(messages.shown()[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(QApplication::topLevelWidgets(), windowsBefore);

    running->write("\n");
    running->closeWriteChannel();
    running->waitForFinished();
}

}  // namespace
}  // namespace talvor
