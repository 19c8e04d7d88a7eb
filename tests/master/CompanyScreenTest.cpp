#include <QComboBox>

#include "master/MasterScreenFixture.h"
#include "master/TFrmCompany.h"

namespace talvor {
namespace {

class CompanyScreenTest : public test::MasterScreenFixture {};

TEST_F(CompanyScreenTest, PickListsAreFilledOncePerOpening) {
    t.exec(QStringLiteral(
        "insert into company (comp_code,comp_type,rest_tota) values ('C1','批发',12.5)"));
    {
        TFrmCompany screen;
        auto* types = child<QComboBox>(screen, "DBComboBox_comp_type");
        EXPECT_EQ(types->count(), 1);
        click(screen, "cmd_add");
        type(screen, "DBEdit_comp_code", QStringLiteral("C2"));
        typeCombo(screen, "DBComboBox_comp_type", QStringLiteral("零售"));
        click(screen, "cmd_save");
        EXPECT_EQ(screen.mode(), ScreenMode::Null);
        EXPECT_EQ(types->findText(QStringLiteral("零售")), -1);
    }
    TFrmCompany again;
    EXPECT_GE(child<QComboBox>(again, "DBComboBox_comp_type")->findText(QStringLiteral("零售")), 0);
    EXPECT_EQ(count(QStringLiteral(
                  "select count(*) from company where comp_code='C2' and rest_tota is null")),
              1);
}

TEST_F(CompanyScreenTest, EditingLeavesTheBalanceAndCancelReturnsToTheCode) {
    t.exec(QStringLiteral(
        "insert into company (comp_code,comp_name,rest_tota) values ('A1','甲',12.5)"));
    t.exec(QStringLiteral("insert into company (comp_code,comp_name) values ('B1','乙')"));
    TFrmCompany screen;
    Dataset& companies = *t.module->CompanyQ;
    click(screen, "cmd_edit");
    type(screen, "DBEdit_comp_name", QStringLiteral("甲公司"));
    click(screen, "cmd_save");
    EXPECT_EQ(count(QStringLiteral(
                  "select count(*) from company where comp_name='甲公司' and rest_tota=12.5")),
              1);

    companies.locate(QStringLiteral("comp_code"), QStringLiteral("B1"));
    click(screen, "cmd_add");
    click(screen, "cmd_canc");
    EXPECT_EQ(companies.text(QStringLiteral("comp_code")), u"B1");
    EXPECT_EQ(companies.recordCount(), 2);
}

}  // namespace
}  // namespace talvor
