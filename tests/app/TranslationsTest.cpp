#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPushButton>

#include "app/Translations.h"

namespace talvor {
namespace {

// The texts of Qt's own windows that the program shows: the PDF file dialog, the print set-up
// and the standard buttons.
TEST(TranslationsTest, QtsOwnTextsReadInChinese) {
    const std::unique_ptr<QTranslator> chinese = loadQtChinese();
    ASSERT_NE(chinese, nullptr) << "Qt's Chinese catalogue is installed with the program";
    QCoreApplication::installTranslator(chinese.get());
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    const std::pair<const char*, const char*> texts[] = {
        {"QFileDialog", "Save As"},        {"QFileDialog", "File &name:"},
        {"QFileDialog", "Files of type:"}, {"QPrintDialog", "Print"},
        {"QPageSetupWidget", "Paper"},
    };
    for (const auto& [context, text] : texts) {
        const QString shown = QCoreApplication::translate(context, text);
        EXPECT_NE(shown, QLatin1String(text)) << context << ": " << text;
        EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [](QChar c) {
            return c.unicode() >= 0x4E00;
        })) << shown.toStdString();
    }
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), u"取消");
    QCoreApplication::removeTranslator(chinese.get());
}

}  // namespace
}  // namespace talvor
