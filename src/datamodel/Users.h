#pragma once

#include <QString>
#include <optional>

#include "datamodel/Rights.h"
#include "datamodel/db/PasswordHash.h"

namespace talvor {

class Dataset;

// The user with this id and password, read through `query`; a password still stored as typed
// is replaced by its hash on the way. No user when the id or the password is wrong.
std::optional<User> authenticate(Dataset& query, const QString& userId, const QString& password);

// Whether `powers` holds a user with this id.
bool userExists(Dataset& query, const QString& userId);

// The module whose use right lets a user administer the rights of all.
inline constexpr int kRightsModule = 5;

// Why a change of the user `userId` would leave nobody able to administer rights: the
// logged-in user removing their own use right of it or themselves, or the last user holding
// it losing it. `newUseRights` is the user's new use-rights string, none for a deletion.
// Empty when the change may go ahead.
QString lockOutReason(Dataset& query, const QString& userId,
                      const std::optional<QString>& newUseRights);

}  // namespace talvor
