#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolButton>

#include "app/About.h"
#include "app/FirstStart.h"
#include "app/Login.h"
#include "app/MainWindow.h"
#include "app/Screens.h"
#include "app/Splash.h"
#include "datamodel/db/DbError.h"
#include "ui/ProgramDirFixture.h"

namespace talvor {
namespace {

// A screen that notes how often it was made and closes itself once shown.
class ProbeScreen : public QDialog {
  public:
    explicit ProbeScreen(QWidget* parent) : QDialog(parent) {
        ++made;
        QTimer::singleShot(0, this, &QDialog::accept);
    }
    static inline int made = 0;
};

class MainScreenTest : public test::ProgramDirFixture {
  protected:
    ScreenRegistry screens;
    TfrmMain main{screens};
    TFrmLogin login;
    std::vector<int> endRequests;

    MainScreenTest() {
        ProbeScreen::made = 0;
        login.setEndProgram([this](int code) { endRequests.push_back(code); });
        main.setLoginDialog(&login);
    }

    // Shows the main window, which runs the login, and logs in with the given texts.
    void startAs(const QString& id, const QString& password) {
        test::whenModal<TFrmLogin>([id, password](TFrmLogin& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(id);
            dialog.findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(password);
            dialog.findChild<QPushButton*>(QStringLiteral("cmd_ok"))->click();
        });
        main.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return main.sessionStarted(); }));
    }

    QAction* item(const char* name) { return child<QAction>(main, name); }
    QLabel* operatorPanel() { return child<QLabel>(main, "StatusPanel1"); }
};

// Tools and tests find every window by the class name the system gives it.
TEST_F(MainScreenTest, EachShellWindowIsNamedByItsClass) {
    TfrmAbout about;
    TfrmFlash splash;
    TFrmFirstStart firstStart(QStringLiteral("talvor.mdb"));
    const std::pair<const QWidget*, const char*> windows[] = {
        {&main, "TfrmMain"},    {&login, "TFrmLogin"},           {&about, "TfrmAbout"},
        {&splash, "TfrmFlash"}, {&firstStart, "TFrmFirstStart"},
    };
    for (const auto& [window, name] : windows) {
        EXPECT_EQ(window->objectName(), QLatin1String(name));
        EXPECT_EQ(QLatin1String(window->metaObject()->className()),
                  QStringLiteral("talvor::") + QLatin1String(name));
    }
}

TEST_F(MainScreenTest, MenuTreeHasEveryCaptionAndName) {
    QStringList tree;
    for (QAction* top : main.menuBar()->actions()) {
        QString line = top->text() + (top->menu() ? QString() : u'=' + top->objectName()) + u':';
        if (top->menu())
            for (QAction* a : top->menu()->actions())
                line += u' ' + (a->isSeparator() ? QStringLiteral("-")
                                                 : a->objectName() + u'=' + a->text());
        tree << line;
    }
    EXPECT_EQ(
        tree,
        (QStringList{
            QStringLiteral("基本资料[&B]: N3=员工资料 N4=产品资料 N5=客户资料 N6=基本设置 "
                           "N7=库存初始化 N8=权限设置"),
            QStringLiteral("进货管理[&I]: N10=进货输入 N11=进货统计 - N12=顾客退货"),
            QStringLiteral("出货管理[&O]: N20=销售输入 N22=退货厂商 - N23=出货统计 "
                           "N24=出货排行-按货品 N25=出货排行-按客户"),
            QStringLiteral("仓库管理[&S]: N31=库存查询 N15=库存报警 N32=库存调整 - "
                           "N33=库存盘点 N34=进销存明细"),
            QStringLiteral("财务管理[&M]: N39=收款单 N40=付款单 - N41=进货对帐单 N42=出货对帐单"),
            QStringLiteral("系统管理[&S]: N46=数据备份 N47=数据恢复 N51=关于"),
            QStringLiteral("退出[&X]=X1:")}));
    EXPECT_EQ(main.windowTitle(), QStringLiteral("禾岚进销存管理系统"));
}

TEST_F(MainScreenTest, ToolBarButtonsInTwoRowsOfGroups) {
    const char* names[] = {"cmd_employee", "cmd_goods", "cmd_company", "cmd_in", "cmd_out",
                           "cmd_gath",     "cmd_pay",   "cmd_store",   "BitBtn2"};
    const char* captions[] = {"员工资料", "产品资料", "客户资料", "进货输入", "销售输入",
                              "收款单",   "付款单",   "库存查询", "退出系统"};
    main.show();
    std::vector<QToolButton*> buttons;
    for (size_t i = 0; i < std::size(names); ++i) {
        QToolButton* b = child<QToolButton>(main, names[i]);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), QString::fromUtf8(captions[i]));
        EXPECT_EQ(b->size(), QSize(75, 39)) << names[i];
        buttons.push_back(b);
    }
    for (size_t i = 1; i < buttons.size(); ++i) {
        const QPoint before = buttons[i - 1]->mapTo(&main, QPoint());
        const QPoint here = buttons[i]->mapTo(&main, QPoint());
        if (i == 5) {
            EXPECT_GT(here.y(), before.y()) << "the second row starts after cmd_out";
        } else {
            EXPECT_EQ(here.y(), before.y());
            // A separator between two groups leaves a gap.
            const bool newGroup = i == 3 || i == 7 || i == 8;
            EXPECT_EQ(here.x() - before.x() > 75, newGroup) << names[i];
        }
    }
}

class UseRightTest : public MainScreenTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(UseRightTest, EnablesMenuItemsAndButtonsOnceAfterTheLogin) {
    const QString use = QString::fromLatin1(GetParam());
    addUser(QStringLiteral("clerk"), QStringLiteral("pw"), use);
    startAs(QStringLiteral("clerk"), QStringLiteral("pw"));
    for (const ModuleInfo& m : modules())
        EXPECT_EQ(item(m.menuItem)->isEnabled(), m.index < use.size() && use[m.index] == u'1')
            << m.menuItem;
    const std::pair<const char*, int> buttons[] = {
        {"cmd_employee", 0}, {"cmd_goods", 1}, {"cmd_company", 2}, {"cmd_in", 6},
        {"cmd_out", 9},      {"cmd_gath", 19}, {"cmd_pay", 20},    {"cmd_store", 14}};
    for (const auto& [name, module] : buttons)
        EXPECT_EQ(child(main, name)->isEnabled(), module < use.size() && use[module] == u'1')
            << name;
    EXPECT_TRUE(item("N51")->isEnabled());
    EXPECT_TRUE(item("X1")->isEnabled());
    EXPECT_TRUE(child(main, "BitBtn2")->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Main, UseRightTest,
                         ::testing::Values("1111111111111111111111111", "", "1010000001"));

TEST_F(MainScreenTest, NoLoginLeavesEveryScreenClosed) {
    test::whenModal<TFrmLogin>([](TFrmLogin& dialog) {
        dialog.findChild<QPushButton*>(QStringLiteral("cmd_close"))->click();
        dialog.hide();
    });
    main.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !endRequests.empty(); }));
    QTest::qWait(10);
    EXPECT_EQ(endRequests, std::vector<int>{1});
    EXPECT_FALSE(main.sessionStarted());
    EXPECT_FALSE(item("N3")->isEnabled());
    EXPECT_FALSE(child(main, "cmd_employee")->isEnabled());
}

TEST_F(MainScreenTest, OperatorPanelAt1024Pixels) {
    main.placeForScreen(1024);
    startAs(QStringLiteral(" admin "), QStringLiteral("secret"));
    QLabel* panel = operatorPanel();
    EXPECT_EQ(panel->width(), 381);
    EXPECT_TRUE(panel->text().startsWith(QStringLiteral("操作人员: admin  登录时间:2")))
        << panel->text().toStdString();
    EXPECT_EQ(TfrmMain::operatorPanelWidth(800), 306);
    EXPECT_EQ(TfrmMain::operatorPanelWidth(1280), 466);
}

TEST_F(MainScreenTest, BackgroundPictureFollowsTheScreenWidth) {
    main.show();
    QLabel* image1 = child<QLabel>(main, "Image1");
    QLabel* image2 = child<QLabel>(main, "Image2");
    const std::tuple<int, bool, bool> cases[] = {
        {800, true, false}, {1024, false, true}, {1280, false, false}};
    for (const auto& [width, first, second] : cases) {
        main.placeForScreen(width);
        EXPECT_EQ(image1->isVisible(), first) << width;
        EXPECT_EQ(image2->isVisible(), second) << width;
    }
    EXPECT_EQ(image1->pos(), QPoint(0, 45));
    EXPECT_EQ(image1->width(), 800);
    EXPECT_EQ(image2->width(), 1024);
}

TEST_F(MainScreenTest, GoodsCaptionsComeFromTheFirstUserinfoRow) {
    sql(QStringLiteral("update userinfo set gods_code='货号', gods_spec=NULL"));
    startAs(QStringLiteral("admin"), QStringLiteral("secret"));
    EXPECT_EQ(GoodsCaptions(),
              (GoodsCaptionTexts{QStringLiteral("货号"), QStringLiteral("货名"), QString(),
                                 QStringLiteral("型号"), QStringLiteral("分类")}));
}

TEST_F(MainScreenTest, WithoutUserinfoTheMenuStillFollowsTheRights) {
    sql(QStringLiteral("drop table userinfo"));
    startAs(QStringLiteral("admin"), QStringLiteral("secret"));
    EXPECT_TRUE(item("N3")->isEnabled());
    EXPECT_EQ(GoodsCaptions(), GoodsCaptionTexts{});
    EXPECT_TRUE(operatorPanel()->text().isEmpty()) << "the steps after the failure are skipped";
    EXPECT_TRUE(messages.shown().empty());
}

enum class ExitRoute { MenuItem, ToolButton, CloseBox };

class ExitQuestionTest
    : public MainScreenTest,
      public ::testing::WithParamInterface<std::pair<ExitRoute, QMessageBox::StandardButton>> {
  protected:
    void leave(ExitRoute route) {
        switch (route) {
            case ExitRoute::MenuItem:
                item("X1")->trigger();
                break;
            case ExitRoute::ToolButton:
                QTest::mouseClick(child<QToolButton>(main, "BitBtn2"), Qt::LeftButton);
                break;
            case ExitRoute::CloseBox:
                main.close();
                break;
        }
    }
};

TEST_P(ExitQuestionTest, AsksAndOnlyOkCloses) {
    const auto [route, answer] = GetParam();
    startAs(QStringLiteral("admin"), QStringLiteral("secret"));
    messages.answer(answer);
    leave(route);
    ASSERT_EQ(messages.shown().size(), 1u);
    const Message& question = messages.shown()[0];
    EXPECT_EQ(question.text, QStringLiteral("确认退出系统?"));
    EXPECT_EQ(question.caption, QStringLiteral("提示"));
    EXPECT_EQ(question.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(question.icon, MessageIcon::Question);
    EXPECT_EQ(main.isVisible(), answer == QMessageBox::Cancel);
    EXPECT_TRUE(item("N3")->isEnabled());
    EXPECT_EQ(CurrentUser().id, QStringLiteral("admin"));
}

INSTANTIATE_TEST_SUITE_P(Main, ExitQuestionTest,
                         ::testing::Values(std::pair{ExitRoute::MenuItem, QMessageBox::Cancel},
                                           std::pair{ExitRoute::ToolButton, QMessageBox::Cancel},
                                           std::pair{ExitRoute::CloseBox, QMessageBox::Cancel},
                                           std::pair{ExitRoute::MenuItem, QMessageBox::Ok},
                                           std::pair{ExitRoute::ToolButton, QMessageBox::Ok},
                                           std::pair{ExitRoute::CloseBox, QMessageBox::Ok}));

// A screen of any kind opened from the menu stays open on Esc; its own way out closes it.
TEST_F(MainScreenTest, EscDoesNotCloseAScreenOpenedFromTheMenu) {
    screens.add<QDialog>(QStringLiteral("N3"));
    startAs(QStringLiteral("admin"), QStringLiteral("secret"));
    bool keptOpen = false;
    test::whenModal<QDialog>([&](QDialog& screen) {
        QTest::keyClick(&screen, Qt::Key_Escape);
        keptOpen = screen.isVisible();
        screen.accept();
    });
    item("N3")->trigger();
    EXPECT_TRUE(keptOpen);
}

TEST_F(MainScreenTest, EachOpeningMakesAFreshScreenAndDestroysItAfterwards) {
    QPointer<QDialog> last;
    screens.add(QStringLiteral("N3"), [&](QWidget* parent) {
        auto screen = std::make_unique<ProbeScreen>(parent);
        last = screen.get();
        return screen;
    });
    startAs(QStringLiteral("admin"), QStringLiteral("secret"));
    item("N3")->trigger();
    EXPECT_EQ(ProbeScreen::made, 1);
    EXPECT_TRUE(last.isNull());
    QTest::mouseClick(child<QToolButton>(main, "cmd_employee"), Qt::LeftButton);
    EXPECT_EQ(ProbeScreen::made, 2);
    EXPECT_TRUE(last.isNull());

    item("N4")->trigger();  // no screen yet for this item
    EXPECT_EQ(ProbeScreen::made, 2);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(MainScreenTest, AScreenThatFailsToOpenIsReportedAndTheMainWindowGoesOn) {
    bool fail = true;
    screens.add(QStringLiteral("N3"), [&](QWidget* parent) -> std::unique_ptr<QDialog> {
        auto screen = std::make_unique<ProbeScreen>(parent);
        if (fail) throw db::DbError(QStringLiteral("no such table: employee"));
        return screen;
    });
    startAs(QStringLiteral("admin"), QStringLiteral("secret"));
    item("N3")->trigger();
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("no such table: employee")});
    EXPECT_TRUE(main.findChildren<ProbeScreen*>().isEmpty());

    fail = false;
    item("N3")->trigger();
    EXPECT_EQ(ProbeScreen::made, 2);
    EXPECT_TRUE(main.isVisible());
}

TEST_F(MainScreenTest, ADisabledItemOpensNothingFromMenuOrToolBar) {
    screens.add(QStringLiteral("N3"),
                [](QWidget* parent) { return std::make_unique<ProbeScreen>(parent); });
    addUser(QStringLiteral("clerk"), QStringLiteral("pw"), QStringLiteral("0111"));
    startAs(QStringLiteral("clerk"), QStringLiteral("pw"));
    item("N3")->trigger();
    QTest::mouseClick(child<QToolButton>(main, "cmd_employee"), Qt::LeftButton);
    EXPECT_EQ(ProbeScreen::made, 0);
}

TEST(AboutScreenTest, OpensFromItsMenuItemAndClosesByItsLabel) {
    const ScreenFactory* factory = screenRegistry().find(QStringLiteral("N51"));
    ASSERT_NE(factory, nullptr);
    QPointer<QDialog> about;
    test::whenModal<TfrmAbout>([&](TfrmAbout& box) {
        about = &box;
        EXPECT_EQ(box.size(), QSize(400, 250));
        EXPECT_TRUE(box.windowFlags() & Qt::FramelessWindowHint);
        auto* close = box.findChild<QLabel*>(QStringLiteral("lblClose"));
        ASSERT_NE(close, nullptr);
        EXPECT_EQ(close->text(), QStringLiteral("关闭"));
        EXPECT_EQ(close->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseClick(close, Qt::LeftButton);
    });
    (*factory)(nullptr)->exec();
    EXPECT_TRUE(about.isNull());
}

}  // namespace
}  // namespace talvor
