#include "datamodel/Users.h"

#include "datamodel/Dataset.h"
#include "datamodel/db/DbError.h"

namespace talvor {

namespace {

// Rehashing is a convenience of the login: a database that refuses the write (read-only, or
// locked by another copy) keeps the old value and logs in all the same.
void rehash(Dataset& query, const QString& storedId, const QString& password) {
    try {
        query.executeWith(QStringLiteral("update powers set password=:password where user_id=:id"),
                          {{QStringLiteral("password"), hashPassword(password)},
                           {QStringLiteral("id"), storedId}});
    } catch (const db::DbError&) {
    }
}

}  // namespace

std::optional<User> authenticate(Dataset& query, const QString& userId, const QString& password) {
    query.openWith(QStringLiteral("select * from powers where user_id=:user_id"),
                   {{QStringLiteral("user_id"), userId}});
    if (query.isEmpty()) return std::nullopt;
    const QString stored = query.value(0, QStringLiteral("password")).toString();
    if (!passwordMatches(stored, password)) return std::nullopt;
    User user;
    user.id = userId;
    for (size_t k = 0; k < kRightColumns.size(); ++k)
        user.rights[k] = query.value(0, QLatin1String(kRightColumns[k])).toString();
    if (!isPasswordHash(stored))
        rehash(query, query.value(0, QStringLiteral("user_id")).toString(), password);
    return user;
}

bool userExists(Dataset& query, const QString& userId) {
    query.openWith(QStringLiteral("select user_id from powers where user_id=:id"),
                   {{QStringLiteral("id"), userId}});
    return !query.isEmpty();
}

QString lockOutReason(Dataset& query, const QString& userId,
                      const std::optional<QString>& newUseRights) {
    const bool keepsRight = newUseRights && rightGiven(*newUseRights, kRightsModule);
    if (keepsRight) return {};
    if (userId.compare(CurrentUser().id, Qt::CaseInsensitive) == 0)
        return newUseRights ? QStringLiteral("不能取消自己设置权限的权利")
                            : QStringLiteral("不能删除当前登录的用户");
    query.openWith(QStringLiteral("select user_id,pow_use from powers where user_id<>:id"),
                   {{QStringLiteral("id"), userId}});
    for (int row = 0; row < query.recordCount(); ++row)
        if (rightGiven(query.value(row, QStringLiteral("pow_use")).toString(), kRightsModule))
            return {};
    return QStringLiteral("至少保留一个可以设置权限的用户");
}

}  // namespace talvor
