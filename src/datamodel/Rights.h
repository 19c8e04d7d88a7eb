#pragma once

#include <QString>
#include <array>

namespace talvor {

inline constexpr int kModuleCount = 25;

enum class Right { Use, Add, Edit, Delete, Check, Find, Print };
inline constexpr int kRightCount = 7;

// The powers columns of the seven rights, in the order they are read at login.
inline constexpr std::array<const char*, kRightCount> kRightColumns = {
    "pow_use", "pow_add", "pow_edit", "pow_dele", "pow_chek", "pow_find", "pow_prin"};

struct ModuleInfo {
    int index;
    const char* gridCaption;  // as the rights administration grid shows it ("—")
    const char* menuCaption;  // as the main menu shows it ("-")
    const char* menuItem;     // objectName of the menu item
    const char* screenClass;
};

const std::array<ModuleInfo, kModuleCount>& modules();

// The logged-in user: filled once at login, unchanged for the rest of the run.
struct User {
    QString id;
    std::array<QString, kRightCount> rights;

    const QString& rightsOf(Right right) const { return rights[size_t(right)]; }
    bool has(Right right, int module) const;
};

// A right is given for module k when its string has a "1" at position k.
bool rightGiven(const QString& rights, int module);

User& CurrentUser();
bool HasRight(Right right, int module);

}  // namespace talvor
