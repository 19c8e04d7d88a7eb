#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariantMap>

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

// The codes of the goods or companies whose name matches `typed`, in lower case.
QSet<QString> matchingCodes(db::Engine& engine, NamedTable table, const QString& typed);

}  // namespace talvor
