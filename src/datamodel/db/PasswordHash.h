#pragma once

#include <QString>

namespace talvor {

// Longest password a user may choose, in characters.
inline constexpr int kMaxPasswordLength = 64;
// Width of the powers column that holds a password's hash.
inline constexpr int kPasswordHashWidth = 128;

// An Argon2id hash of the password with the interactive limits, salted anew each time.
QString hashPassword(const QString& password);
// A stored value made by hashPassword, as opposed to a password stored as typed by databases
// made before passwords were hashed.
bool isPasswordHash(const QString& stored);
// Whether the typed password is the stored one, hashed or as typed.
bool passwordMatches(const QString& stored, const QString& typed);

}  // namespace talvor
