#pragma once

#include <QString>
#include <stdexcept>

namespace talvor::db {

// Every failure of the database engine reaches callers as this one type, carrying the
// engine's own message so that screens can show it after "保存失败：".
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

}  // namespace talvor::db
