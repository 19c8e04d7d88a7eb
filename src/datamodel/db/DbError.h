#pragma once

#include "datamodel/Error.h"

namespace talvor::db {

// Every failure of the database engine reaches callers as this one type, carrying the
// engine's own message so that screens can show it after "保存失败：".
class DbError : public Error {
  public:
    using Error::Error;
};

}  // namespace talvor::db
