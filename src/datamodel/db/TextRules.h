#pragma once

#include <QString>

namespace talvor::db {

// Throws DbError for a text that cannot be stored as typed: one holding NUL, which would cut it
// short wherever it is measured or compared, or broken UTF-16 (a lone surrogate), which would be
// stored as "?".
void requireStorableText(const QString& text);

// Compares two UTF-8 texts without regard to letter case, for every script with case, as the
// original engine did: "Ä" equals "ä", while full-width and half-width letters stay distinct.
// Texts without non-ASCII cased letters order as SQLite's own NOCASE orders them.
int compareIgnoringCase(const char* a, int aBytes, const char* b, int bBytes);

}  // namespace talvor::db
