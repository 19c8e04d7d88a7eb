#include "datamodel/db/TextRules.h"

#include "datamodel/db/DbError.h"

namespace talvor::db {

namespace {

// The next code point of a UTF-8 text; a byte that starts no valid sequence stands for itself.
char32_t nextCodePoint(const unsigned char*& p, const unsigned char* end) {
    const unsigned char lead = *p++;
    if (lead < 0x80) return lead;
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (extra == 0 || end - p < extra) return lead;
    char32_t code = lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        if ((p[i] & 0xC0) != 0x80) return lead;
        code = (code << 6) | (p[i] & 0x3F);
    }
    p += extra;
    return code;
}

char32_t folded(char32_t code) {
    if (code < 0x80) return code >= u'A' && code <= u'Z' ? code + 0x20 : code;
    return QChar::toCaseFolded(code);
}

}  // namespace

void requireStorableText(const QString& text) {
    if (text.contains(QChar(0))) throw DbError(QStringLiteral("文本中含有空字符(NUL)，不能保存"));
    if (!text.isValidUtf16())
        throw DbError(QStringLiteral("文本中含有无效的字符（不成对的代理项），不能保存"));
}

int compareIgnoringCase(const char* a, int aBytes, const char* b, int bBytes) {
    auto* p = reinterpret_cast<const unsigned char*>(a);
    auto* q = reinterpret_cast<const unsigned char*>(b);
    const unsigned char* pEnd = p + aBytes;
    const unsigned char* qEnd = q + bBytes;
    while (p < pEnd && q < qEnd) {
        const char32_t x = folded(nextCodePoint(p, pEnd));
        const char32_t y = folded(nextCodePoint(q, qEnd));
        if (x != y) return x < y ? -1 : 1;
    }
    if (p < pEnd) return 1;
    return q < qEnd ? -1 : 0;
}

}  // namespace talvor::db
