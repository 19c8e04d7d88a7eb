#pragma once

namespace talvor::db {

class SqliteEngine;

// Goods and company names are found by the initials of their pinyin through the table
// name_pinyin (name, initials), beside goods and company rather than in them, whose column
// order statements rely on. Every connection adds the name of each goods or company it writes
// through triggers of its own (so another program writing the file meets no unknown
// function); a database that has no such table yet gets it filled once, at open, with an
// index on the names of goods and company for the way back from a name. The engine
// must provide the SQL function pinyin_initials(text).
//
// The table only ever gains names: a name no goods or company holds any longer is found by no
// search, since searches go from goods and company to it.
void prepareNameIndex(SqliteEngine& engine);

}  // namespace talvor::db
