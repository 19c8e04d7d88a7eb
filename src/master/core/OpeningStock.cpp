#include "master/core/OpeningStock.h"

namespace talvor {

long long ImportGoodsIntoStock(db::Engine& engine) {
    db::Transaction tx(engine);
    const long long added = engine.execute(
        QStringLiteral("insert into storemain (gods_code) select g.gods_code from goods g "
                       "where not exists (select s.gods_code from storemain s "
                       "where s.gods_code=g.gods_code) order by g.gods_code"));
    tx.commit();
    return added;
}

}  // namespace talvor
