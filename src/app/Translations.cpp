#include "app/Translations.h"

#include <QLibraryInfo>
#include <QLocale>

namespace talvor {

std::unique_ptr<QTranslator> loadQtChinese() {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qt"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    return translator;
}

}  // namespace talvor
