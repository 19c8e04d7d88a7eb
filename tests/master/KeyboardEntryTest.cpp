#include <memory>

#include "bills/BillScreen.h"
#include "master/MasterScreenFixture.h"
#include "master/TFrmCompany.h"
#include "master/TFrmGoods.h"
#include "support/Keyboard.h"

namespace talvor {
namespace {

using test::Keyboard;

class KeyboardEntryTest : public test::MasterScreenFixture {
  protected:
    Keyboard keys;
};

// 新增, every box typed or passed with Enter, the remark's Enter to 保存 and Enter on it.
TEST_F(KeyboardEntryTest, AGoodsRecordIsSavedWithEnterOnSave) {
    TFrmGoods screen;
    ASSERT_TRUE(Keyboard::showActive(screen));
    child(screen, "cmd_add")->setFocus();
    Keyboard::press(Qt::Key_Return);
    ASSERT_EQ(screen.mode(), ScreenMode::Add);
    const std::pair<const char*, QString> boxes[] = {
        {"DBEdit_gods_code", QStringLiteral("G1")},
        {"DBEdit_gods_name", QStringLiteral("螺丝")},
        {"DBComboBox_gods_spec", {}},
        {"DBComboBox_gods_type", {}},
        {"DBComboBox_gods_kind", {}},
        {"DBComboBox_gods_unit", QStringLiteral("个")},
        {"DBEdit_valu_in", QStringLiteral("3")},
        {"DBEdit_valu_out", QStringLiteral("4.5")},
        {"DBEdit_max_amou", {}},
        {"DBEdit_min_amou", {}},
        {"DBEdit_agent_pric", {}},
        {"DBEdit_prod_place", {}},
        {"DBEdit_prod_code", {}},
        {"DBEdit_supp_code", {}},
        {"DBEdit_gods_note", QStringLiteral("样品")},
    };
    for (const auto& [box, text] : boxes) {
        ASSERT_EQ(Keyboard::focusName(), QLatin1String(box));
        Keyboard::enter(text);
    }
    ASSERT_EQ(Keyboard::focusName(), u"cmd_save");
    Keyboard::press(Qt::Key_Return);
    EXPECT_EQ(screen.mode(), ScreenMode::Null) << answers.texts().join(u'|').toStdString();
    EXPECT_EQ(count(QStringLiteral("select count(*) from goods where gods_code='G1' and "
                                   "gods_name='螺丝' and gods_unit='个' and valu_out=4.5 and "
                                   "gods_note='样品'")),
              1);
}

// After the last box of a company the Enter goes round to 保存, the first usable button.
TEST_F(KeyboardEntryTest, ACompanyIsSavedWithEnterOnSave) {
    TFrmCompany screen;
    ASSERT_TRUE(Keyboard::showActive(screen));
    child(screen, "cmd_add")->setFocus();
    Keyboard::press(Qt::Key_Return);
    ASSERT_EQ(screen.mode(), ScreenMode::Add);
    Keyboard::enter(QStringLiteral("C9"));
    Keyboard::enter(QStringLiteral("天河五金"));
    for (int box = 2; box < 15; ++box) Keyboard::press(Qt::Key_Return);
    ASSERT_EQ(Keyboard::focusName(), u"DBEdit_comp_note");
    Keyboard::enter(QStringLiteral("老客户"));
    ASSERT_EQ(Keyboard::focusName(), u"cmd_save");
    Keyboard::press(Qt::Key_Return);
    EXPECT_EQ(screen.mode(), ScreenMode::Null) << answers.texts().join(u'|').toStdString();
    EXPECT_EQ(count(QStringLiteral("select count(*) from company where comp_code='C9' and "
                                   "comp_name='天河五金' and comp_note='老客户'")),
              1);
}

// Esc is no way out of a screen, while browsing or entering; 退出 is.
TEST_F(KeyboardEntryTest, EscDoesNotCloseAScreen) {
    const std::function<std::unique_ptr<EditingDialog>()> screens[] = {
        [] { return std::make_unique<TFrmGoods>(); },
        [] { return std::make_unique<TFrmCompany>(); },
        [] { return std::make_unique<TFrmIn>(); },
        [] { return std::make_unique<TFrmReturnout>(); },
    };
    for (const auto& make : screens) {
        const std::unique_ptr<EditingDialog> screen = make();
        ASSERT_TRUE(Keyboard::showActive(*screen));
        Keyboard::press(Qt::Key_Escape);
        EXPECT_TRUE(screen->isVisible()) << screen->objectName().toStdString();
        child(*screen, "cmd_exit")->setFocus();
        Keyboard::press(Qt::Key_Return);
        EXPECT_FALSE(screen->isVisible()) << screen->objectName().toStdString();
    }
}

}  // namespace
}  // namespace talvor
