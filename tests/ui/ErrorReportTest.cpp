#include <gtest/gtest.h>

#include <QPushButton>
#include <stdexcept>

#include "common/core/Routines.h"
#include "ui/ErrorReport.h"

namespace talvor {
namespace {

TEST(ErrorReportTest, AnEscapingErrorIsShownAndTheProgramGoesOn) {
    ScriptedMessages messages;
    QPushButton button;
    int step = 0;
    connectGuarded(&button, &QPushButton::clicked, &button, [&] {
        ++step;
        if (step == 1) throw db::DbError(QStringLiteral("database is locked"));
        if (step == 2) throw ConversionError(QStringLiteral("“十”不是整数"));
        if (step == 3) throw std::runtime_error(QStringLiteral("数据库无法打开").toStdString());
    });
    for (int i = 0; i < 4; ++i) button.click();

    EXPECT_EQ(step, 4);
    EXPECT_EQ(messages.texts(),
              (QStringList{QStringLiteral("database is locked"), QStringLiteral("“十”不是整数"),
                           QStringLiteral("数据库无法打开")}));
    for (const Message& m : messages.shown()) {
        EXPECT_EQ(m.caption, QStringLiteral("禾岚进销存管理系统"));
        EXPECT_EQ(m.icon, MessageIcon::Critical);
        EXPECT_EQ(m.buttons, QMessageBox::Ok);
    }
}

TEST(ErrorReportTest, ScriptedMessagesAnswerInTurnThenWithTheLowestButton) {
    ScriptedMessages messages;
    messages.answer(QMessageBox::Cancel);
    EXPECT_FALSE(talvor::messages().confirm(QStringLiteral("确认删除?")));
    EXPECT_TRUE(talvor::messages().confirm(QStringLiteral("确认删除?")));
    {
        ScriptedMessages inner;
        talvor::messages().inform(QStringLiteral("内"));
        EXPECT_EQ(inner.texts(), QStringList{QStringLiteral("内")});
    }
    talvor::messages().inform(QStringLiteral("外"));
    EXPECT_EQ(messages.texts().last(), QStringLiteral("外")) << "the outer script is back";
}

}  // namespace
}  // namespace talvor
