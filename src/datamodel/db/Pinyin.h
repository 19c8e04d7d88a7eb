#pragma once

#include <QString>

namespace talvor::db {

// The initials of a text's pinyin, lower case: "华东贸易公司" gives "hdmygs". A Chinese
// character gives the first letter of its reading, the common one where it has several;
// Latin letters and digits (full-width ones too) stay as they are, in lower case; anything
// else is left out.
QString pinyinInitials(const QString& text);

}  // namespace talvor::db
