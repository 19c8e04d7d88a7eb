#include "datamodel/db/Pinyin.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <QStringList>
#include <memory>
#include <stdexcept>

namespace talvor::db {

namespace {

// Loading the rules takes a while, so the one transliterator lives for the whole run.
icu::Transliterator& hanToLatin() {
    static const std::unique_ptr<icu::Transliterator> transliterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> t(
            icu::Transliterator::createInstance("Han-Latin; Latin-ASCII", UTRANS_FORWARD, status));
        if (U_FAILURE(status)) t.reset();
        return t;
    }();
    if (!transliterator) throw std::runtime_error("ICU has no Han-Latin transliteration");
    return *transliterator;
}

// A run of Chinese characters goes through in one piece, so that ICU can read a character by
// its neighbours (重庆 is "chong qing"); it writes one syllable per character, apart.
void appendRunInitials(const QString& run, QString& initials) {
    icu::UnicodeString text(reinterpret_cast<const UChar*>(run.utf16()), int32_t(run.size()));
    hanToLatin().transliterate(text);
    const QString latin = QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
    for (const QString& syllable : latin.split(u' ', Qt::SkipEmptyParts))
        if (syllable[0].isLetter() && syllable[0].unicode() < 128)
            initials += syllable[0].toLower();
}

bool isHan(char32_t c) { return QChar::script(c) == QChar::Script_Han; }

}  // namespace

QString pinyinInitials(const QString& text) {
    const QString folded = text.normalized(QString::NormalizationForm_KC);
    QString initials;
    QString run;
    for (const char32_t c : folded.toUcs4()) {
        if (isHan(c)) {
            run += QString::fromUcs4(&c, 1);
            continue;
        }
        if (!run.isEmpty()) appendRunInitials(run, initials);
        run.clear();
        if (c < 128 && QChar::isLetterOrNumber(c)) initials += QChar(char16_t(c)).toLower();
    }
    if (!run.isEmpty()) appendRunInitials(run, initials);
    return initials;
}

}  // namespace talvor::db
