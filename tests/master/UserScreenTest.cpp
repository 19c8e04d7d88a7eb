#include <QComboBox>

#include "common/core/BillSettings.h"
#include "common/core/IniFile.h"
#include "common/core/ProgramDir.h"
#include "master/MasterScreenFixture.h"
#include "master/TFrmGoods.h"
#include "master/TFrmUser.h"
#include "ui/DataGrid.h"

namespace talvor {
namespace {

class UserScreenTest : public test::MasterScreenFixture {
  protected:
    UserScreenTest() { setProgramDir(t.dir.path()); }
    ~UserScreenTest() override {
        setProgramDir({});
        billSettings() = {};
    }
    static void choosePaper(TFrmUser& screen, const QString& type) {
        auto* box = child<QComboBox>(screen, "ComboBox1");
        box->setEditText(type);
        emit box->textActivated(type);
    }
    static void setPaper(TFrmUser& screen, const char* width, const char* length) {
        child<QLineEdit>(screen, "Edit_page_width")->setText(QString::fromUtf8(width));
        child<QLineEdit>(screen, "Edit_page_length")->setText(QString::fromUtf8(length));
    }
    IniFile ini() const { return IniFile(iniPath()); }
};

TEST_F(UserScreenTest, CustomPaperMustFitItsBounds) {
    TFrmUser screen;
    click(screen, "cmd_edit");
    choosePaper(screen, QStringLiteral("自定义"));
    const struct {
        const char* width;
        const char* length;
        const char* message;
    } cases[] = {
        {"", "100", "自定义纸张类型必需输入纸张宽度"},
        {"100", "", "自定义纸张类型必需输入纸张长度"},
        {"49", "80", "纸张宽度不合适"},
        {"401", "80", "纸张宽度不合适"},
        {"50", "79", "纸张长度不合适"},
        {"50", "501", "纸张长度不合适"},
        {"50", "80", nullptr},
        {"400", "500", nullptr},
    };
    for (const auto& c : cases) {
        answers.clear();
        if (screen.mode() == ScreenMode::Null) click(screen, "cmd_edit");
        setPaper(screen, c.width, c.length);
        click(screen, "cmd_save");
        EXPECT_EQ(answers.texts(),
                  c.message ? QStringList{QString::fromUtf8(c.message)} : QStringList{})
            << c.width << "x" << c.length;
        EXPECT_EQ(screen.mode(), c.message ? ScreenMode::Edit : ScreenMode::Null);
    }
    EXPECT_EQ(ini().readInteger(QStringLiteral("pagesize"), QStringLiteral("page_width"), 0), 400);
    EXPECT_EQ(billSettings().pageLength, 500);
    EXPECT_EQ(billSettings().pageType, u"自定义");
}

TEST_F(UserScreenTest, FixedPapersSetTheirSizes) {
    TFrmUser screen;
    click(screen, "cmd_edit");
    choosePaper(screen, QStringLiteral("默认"));
    EXPECT_EQ(child<QLineEdit>(screen, "Edit_page_width")->text(), u"218");
    EXPECT_EQ(child<QLineEdit>(screen, "Edit_page_length")->text(), u"140");
    EXPECT_TRUE(child<QLineEdit>(screen, "Edit_page_width")->isReadOnly());
    choosePaper(screen, QStringLiteral("自定义"));
    EXPECT_FALSE(child<QLineEdit>(screen, "Edit_page_width")->isReadOnly());
}

TEST_F(UserScreenTest, SaveKeepsLongCaptionsAndTheCompanyNameForPrinting) {
    t.exec(QStringLiteral("delete from userinfo"));
    TFrmUser screen;
    click(screen, "cmd_edit");
    type(screen, "DBEdit_comp_name", QStringLiteral(" 禾岚商行 "));
    type(screen, "DBEdit_gods_code", QStringLiteral("货"));    // 2 bytes: too short
    type(screen, "DBEdit_gods_name", QStringLiteral("品名"));  // 4 bytes: kept
    type(screen, "DBEdit_gods_spec", QStringLiteral("abc"));   // 3 bytes: too short
    type(screen, "DBEdit_gods_type", QStringLiteral("Type"));
    type(screen, "DBEdit_gods_kind", QStringLiteral(""));
    click(screen, "cmd_save");
    ASSERT_EQ(screen.mode(), ScreenMode::Null);
    EXPECT_EQ(count(QStringLiteral("select count(*) from userinfo")), 1) << "the row is made";
    EXPECT_EQ(t.scalar(QStringLiteral("select gods_code||gods_name||gods_spec||gods_type||"
                                      "gods_kind from userinfo")),
              QStringLiteral("编码品名规格Type分类"));
    EXPECT_EQ(GoodsCaptions()[0], u"编码");
    EXPECT_EQ(GoodsCaptions()[3], u"Type");
    EXPECT_EQ(billSettings().companyName, u"禾岚商行");
    EXPECT_EQ(ini().readString(QStringLiteral("billdata"), QStringLiteral("company_name"), {}),
              u"禾岚商行");
    EXPECT_EQ(child<DataGrid>(screen, "DBGrid_TypeDefiQ")
                  ->model()
                  ->headerData(1, Qt::Horizontal)
                  .toString(),
              u"Type");
}

TEST_F(UserScreenTest, PickListsWaitForSaveAndANewCategoryReachesTheGoodsScreen) {
    t.exec(QStringLiteral("insert into baseitem (gods_kind_id,gods_kind) values ('01','五金')"));
    Dataset& kinds = *t.module->KindDefiQ;
    {
        TFrmUser screen;
        click(screen, "cmd_edit");
        kinds.setValue(QStringLiteral("gods_kind"), QStringLiteral("电器"));
        click(screen, "cmd_canc");
        EXPECT_EQ(kinds.text(QStringLiteral("gods_kind")), u"五金");
        EXPECT_EQ(count(QStringLiteral("select count(*) from baseitem where gods_kind='五金'")), 1);

        click(screen, "cmd_edit");
        kinds.setValue(QStringLiteral("gods_kind"), QStringLiteral("五金工具"));
        kinds.append();
        kinds.setValue(QStringLiteral("gods_kind_id"), QStringLiteral("02"));
        kinds.setValue(QStringLiteral("gods_kind"), QStringLiteral("电器"));
        EXPECT_EQ(count(QStringLiteral("select count(*) from baseitem")), 1) << "held until save";
        click(screen, "cmd_save");
    }
    EXPECT_EQ(count(QStringLiteral("select count(*) from baseitem where gods_kind='五金工具'")), 1);
    TFrmGoods goods;
    EXPECT_GE(child<QComboBox>(goods, "DBComboBox_gods_kind")->findText(QStringLiteral("电器")), 0);
}

TEST_F(UserScreenTest, EntriesAreAddedAndDeletedInTheGridWhileEditing) {
    t.exec(QStringLiteral("insert into baseitem (fee_code,fee_type) values ('1','现金')"));
    t.exec(QStringLiteral("insert into baseitem (fee_code,fee_type) values ('2','支票')"));
    Dataset& fees = *t.module->FeeDefiQ;
    TFrmUser screen;
    auto* grid = child<DataGrid>(screen, "DBGrid_FeeDefiQ");
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(fees.recordCount(), 2) << "browsing deletes nothing";

    click(screen, "cmd_edit");
    fees.locate(QStringLiteral("fee_code"), QStringLiteral("1"));
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    fees.last();
    QTest::keyClick(grid, Qt::Key_Down);
    ASSERT_EQ(fees.recordCount(), 2);
    fees.setValue(QStringLiteral("fee_code"), QStringLiteral("3"));
    fees.setValue(QStringLiteral("fee_type"), QStringLiteral("汇票"));
    QTest::keyClick(grid, Qt::Key_Down);  // an entry left empty is dropped at save
    click(screen, "cmd_save");
    EXPECT_EQ(screen.mode(), ScreenMode::Null);
    const db::ResultSet kept =
        t.engine().query(QStringLiteral("select fee_type from baseitem order by fee_code"));
    ASSERT_EQ(kept.rows.size(), 2u);
    EXPECT_EQ(kept.rows[0][0], QStringLiteral("支票"));
    EXPECT_EQ(kept.rows[1][0], QStringLiteral("汇票"));
}

}  // namespace
}  // namespace talvor
