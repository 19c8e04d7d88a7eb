#pragma once

#include <QString>

namespace talvor::db {

class Engine;

// Goods and company names are found by the initials of their pinyin through the table
// name_pinyin (name, initials), beside goods and company rather than in them, whose column
// order statements rely on. A database that has no such table yet gets it filled once, at
// open, with an index on the names of goods and company for the way back from a name.
//
// In a database file, every connection adds the name of each goods or company it writes
// through triggers of its own (so another program writing the file meets no unknown function);
// the engine must provide the SQL function pinyin_initials(text). A database server cannot
// compute the initials, so its own triggers add each name written by any copy of the program
// with no initials, and the client settles them (settlePendingInitials) before it reads the
// table.
//
// The table only ever gains names: a name no goods or company holds any longer is found by no
// search, since searches go from goods and company to it.
void prepareNameIndex(Engine& engine);

// Gives every name still without initials its initials. Copies of the program settling at the
// same time take turns through the write lock; the second finds nothing left to do.
void settlePendingInitials(Engine& engine);

// True when the statement reads name_pinyin, and so needs the pending names settled first.
bool readsNameIndex(const QString& statement);

}  // namespace talvor::db
