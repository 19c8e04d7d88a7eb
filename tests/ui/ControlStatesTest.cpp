#include <gtest/gtest.h>

#include <QPushButton>
#include <QTableView>

#include "ui/ControlStates.h"

namespace talvor {
namespace {

// The goods screen's table in small: module 1.
const ControlStates kTable = {
    {"cmd_add", true, false, false, Right::Add},
    {"cmd_edit", true, false, false, Right::Edit},
    {"cmd_save", false, true, true},
    {"DBGrid1", true, false, false},
};

class ControlStatesTest : public ::testing::Test {
  protected:
    QWidget screen;
    ControlStatesTest() {
        screen.setObjectName(QStringLiteral("FrmGoods"));
        for (const char* name : {"cmd_add", "cmd_edit", "cmd_save"})
            (new QPushButton(&screen))->setObjectName(QLatin1String(name));
        (new QTableView(&screen))->setObjectName(QStringLiteral("DBGrid1"));
    }
    ~ControlStatesTest() override { CurrentUser() = {}; }

    QString states() const {
        QString s;
        for (const ControlState& row : kTable)
            s += screen.findChild<QWidget*>(QLatin1String(row.control))->isEnabled() ? u'1' : u'0';
        return s;
    }
};

TEST_F(ControlStatesTest, ModeAndRightsDecideTogether) {
    const std::tuple<ScreenMode, const char*, const char*, const char*> cases[] = {
        {ScreenMode::Null, "01", "01", "1101"}, {ScreenMode::Null, "01", "00", "1001"},
        {ScreenMode::Null, "1", "", "0001"},    {ScreenMode::Add, "01", "01", "0010"},
        {ScreenMode::Edit, "", "", "0010"},
    };
    for (const auto& [mode, add, edit, expected] : cases) {
        CurrentUser().rights[size_t(Right::Add)] = QLatin1String(add);
        CurrentUser().rights[size_t(Right::Edit)] = QLatin1String(edit);
        applyControlStates(screen, kTable, mode, 1);
        EXPECT_EQ(states(), QLatin1String(expected))
            << modeText(mode).toStdString() << " " << add << " " << edit;
    }
}

TEST_F(ControlStatesTest, AControlMissingFromTheScreenIsAnErrorAndNothingChanges) {
    ControlStates table = kTable;
    table.push_back({"cmd_dele", true, false, false, Right::Delete});
    EXPECT_THROW(applyControlStates(screen, table, ScreenMode::Add, 1), std::exception);
    EXPECT_EQ(states(), QStringLiteral("1111"));
}

TEST_F(ControlStatesTest, ARightForBrowsingOnlyDoesNotHoldBackTheEntry) {
    const ControlStates table = {{"cmd_add", true, true, true, Right::Delete, true}};
    CurrentUser().rights[size_t(Right::Delete)] = QStringLiteral("00");
    auto* button = screen.findChild<QWidget*>(QStringLiteral("cmd_add"));
    applyControlStates(screen, table, ScreenMode::Null, 1);
    EXPECT_FALSE(button->isEnabled());
    applyControlStates(screen, table, ScreenMode::Edit, 1);
    EXPECT_TRUE(button->isEnabled());
}

TEST(ScreenModeTest, ModesHaveTheirTexts) {
    EXPECT_EQ(modeText(ScreenMode::Null), QStringLiteral("null"));
    EXPECT_EQ(modeText(ScreenMode::Add), QStringLiteral("add"));
    EXPECT_EQ(modeText(ScreenMode::Edit), QStringLiteral("edit"));
}

}  // namespace
}  // namespace talvor
