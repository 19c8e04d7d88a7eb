#include <gtest/gtest.h>

#include "datamodel/Rights.h"

namespace talvor {
namespace {

using namespace Qt::StringLiterals;

TEST(Rights, AStringGrantsExactlyThePositionsHoldingOne) {
    const struct {
        QString rights;
        QString expected;  // one character per module, "1" where the right is given
    } cases[] = {
        {u"1111111111111111111111111"_s, u"1111111111111111111111111"_s},
        {u"1111111111"_s, u"1111111111000000000000000"_s},
        {QString(), u"0000000000000000000000000"_s},
        {u"0101010101010101010101010"_s, u"0101010101010101010101010"_s},
        {u"2Y1 1-1"_s, u"0010101000000000000000000"_s},
        {u"11111111111111111111111111111"_s, u"1111111111111111111111111"_s},
    };
    for (const auto& c : cases) {
        QString granted;
        for (int module = 0; module < kModuleCount; ++module)
            granted += rightGiven(c.rights, module) ? u'1' : u'0';
        EXPECT_EQ(granted, c.expected) << "rights '" << c.rights.toStdString() << "'";
    }
    EXPECT_FALSE(rightGiven(u"1111111111111111111111111"_s, -1));
}

class CurrentUserRights : public ::testing::Test {
  protected:
    void TearDown() override { CurrentUser() = saved; }
    User saved = CurrentUser();
};

TEST_F(CurrentUserRights, EachRightReadsItsOwnString) {
    User& user = CurrentUser();
    user.rights = {};
    user.rights[size_t(Right::Use)] = u"1111111111111111111111111"_s;
    user.rights[size_t(Right::Add)] = u"1111111111"_s;
    user.rights[size_t(Right::Print)] = u"0000000000000000000000001"_s;

    for (int module = 0; module < kModuleCount; ++module) {
        EXPECT_TRUE(HasRight(Right::Use, module)) << module;
        EXPECT_EQ(HasRight(Right::Add, module), module < 10) << module;
        EXPECT_EQ(HasRight(Right::Print, module), module == 24) << module;
        for (Right empty : {Right::Edit, Right::Delete, Right::Check, Right::Find})
            EXPECT_FALSE(HasRight(empty, module)) << module;
    }
}

}  // namespace
}  // namespace talvor
