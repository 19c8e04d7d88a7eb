#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <optional>

#include "datamodel/db/Engine.h"

namespace talvor {

// Goods and companies are found by any part of their name or by the initials of its pinyin:
// "hdmy", "hd", "贸易" and "华东" all find 华东贸易公司. Letter case does not count.
enum class NamedTable { Goods, Company };

// A condition for a statement over goods or company (unaliased) that holds for the rows whose
// name matches; it reads the parameter :typed from namedParams().
QString nameMatches(NamedTable table);
QVariantMap namedParams(const QString& typed);

// The names that match `typed`, once each, in order, at most `limit`: what a completing name
// box offers. An empty text matches nothing.
QStringList matchingNames(db::Engine& engine, NamedTable table, const QString& typed, int limit);

// The code of the first goods or company after `after`, in the order of codes, whose name
// matches `typed`; round to the first one when none comes after it.
std::optional<QString> nextMatchingCode(db::Engine& engine, NamedTable table, const QString& typed,
                                        const QString& after);

}  // namespace talvor
