#include <gtest/gtest.h>

#include <QRegularExpression>
#include <cmath>
#include <limits>

#include "common/core/Routines.h"

namespace talvor {
namespace {

using namespace Qt::StringLiterals;

TEST(AmountInWords, WritesEveryDigitWithItsUnit) {
    const struct {
        double amount;
        QString words;
    } cases[] = {
        {1234.5, u"壹仟贰佰叁拾肆圆伍角零分整"_s},
        {0.07, u"柒分整"_s},
        {0, u"零分整"_s},
        {100, u"壹佰零拾零圆零角零分整"_s},
        {-12.34, u"负壹拾贰圆叁角肆分整"_s},
        {10000, u"壹万零仟零佰零拾零圆零角零分整"_s},
        {99999999.99, u"玖仟玖佰玖拾玖万玖仟玖佰玖拾玖圆玖角玖分整"_s},
        {-0.001, u"负零分整"_s},  // the sign comes from the amount before rounding
        {0.005, u"壹分整"_s},     // rounded to fen, not cut off
        {0.004, u"零分整"_s},
        {20000000.1, u"贰仟零佰零拾零万零仟零佰零拾零圆壹角零分整"_s},
        {100000000, QString()},     // eleven digits of fen do not fit
        {99999999.999, QString()},  // rounds up to 100,000,000.00
        {-100000000, QString()},
        {1e20, QString()},
        {std::numeric_limits<double>::quiet_NaN(), QString()},
        {std::numeric_limits<double>::infinity(), QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AmountInWords(c.amount), c.words) << "amount " << c.amount;
}

TEST(NowStamp, IsFourteenDigitsOfLocalTime) {
    EXPECT_EQ(NowStamp(QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9))), u"20240305070809"_s);
    EXPECT_EQ(NowStamp(QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59))), u"19991231235959"_s);

    const QString before = NowStamp(QDateTime::currentDateTime());
    const QString now = NowStamp();
    const QString after = NowStamp(QDateTime::currentDateTime());
    EXPECT_TRUE(QRegularExpression(u"^\\d{14}$"_s).match(now).hasMatch()) << now.toStdString();
    EXPECT_LE(before, now);
    EXPECT_LE(now, after);
}

TEST(TrimmedInput, RemovesBlanksAndControlCharactersAtBothEndsOnly) {
    EXPECT_EQ(trimmedInput(u" \t\r\n\x01禾 岚\x1F "_s), u"禾 岚"_s);
    EXPECT_EQ(trimmedInput(u"a\tb"_s), u"a\tb"_s);
    EXPECT_EQ(trimmedInput(u" \t "_s), QString());
}

TEST(TextToInteger, RefusesWhatIsNoInteger) {
    EXPECT_EQ(textToInteger(u" 12 "_s), 12);
    EXPECT_EQ(textToInteger(u"-3"_s), -3);
    for (const QString& text : {u""_s, u"1 2"_s, u"12行"_s, u"3.0"_s, u"99999999999"_s}) {
        try {
            textToInteger(text);
            ADD_FAILURE() << "accepted '" << text.toStdString() << "'";
        } catch (const ConversionError& error) {
            EXPECT_TRUE(error.message().contains(text)) << error.message().toStdString();
        }
    }
}

TEST(DistinctItems, PlainBoxKeepsNonBlankValuesAsStoredInOrder) {
    EXPECT_EQ(distinctItems({u"A"_s, u" A"_s, QVariant()}), QStringList({u"A"_s, u" A"_s}));
    EXPECT_EQ(distinctItems({u" "_s, u"\t"_s, QString(), u"b "_s, 12}),
              QStringList({u"b "_s, u"12"_s}));
}

TEST(DistinctItems, DataBoundBoxGainsOnlyValuesNotListedYet) {
    QStringList items = {u"A"_s};
    mergeDistinctItems(items, {u"A"_s, u" A"_s, QVariant()});
    EXPECT_EQ(items, QStringList({u"A"_s}));

    // Letter case counts; the trimmed value is compared with the items as they stand.
    items = {};
    mergeDistinctItems(items, {u"b"_s, u"B"_s, u"b"_s, u" c"_s, u"c"_s, u""_s});
    EXPECT_EQ(items, QStringList({u"b"_s, u"B"_s, u" c"_s, u"c"_s}));

    const QStringList once = items;
    mergeDistinctItems(items, {u"b"_s, u"B"_s, u" c"_s, u"c"_s});
    EXPECT_EQ(items, once);
}

}  // namespace
}  // namespace talvor
