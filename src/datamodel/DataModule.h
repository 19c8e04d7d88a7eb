#pragma once

#include <QObject>
#include <memory>

#include "datamodel/Dataset.h"
#include "datamodel/db/Engine.h"

namespace talvor {

// The one connection and the named datasets every screen and layout shares. Whatever a
// screen leaves in a dataset is what the next user of it finds.
class TFrmDataMod : public QObject {
    Q_OBJECT

  public:
    // Without an engine the module works on a local SQLite file.
    explicit TFrmDataMod(std::unique_ptr<db::Engine> engine = nullptr, QObject* parent = nullptr);
    ~TFrmDataMod() override;

    db::Engine& AdoConn() { return *connection_; }
    // A database file's path, or a server's connection string when the engine is a server's.
    void connectTo(const QString& location);
    bool connected() const { return connection_->isOpen(); }
    void disconnect();  // closes every dataset, then the connection

    std::vector<Dataset*> datasets() const;
    Dataset* dataset(const QString& name) const;

    Dataset *EmployeeQ, *CompanyQ, *GoodsQ, *GoodsFindQ, *PowerQ, *UserQ;
    Dataset *SpecDefiQ, *TypeDefiQ, *KindDefiQ, *FeeDefiQ, *MoneDefQ;
    Dataset *InMainQ, *OutMainQ, *InGoodsQ, *OutGoodsQ, *InFindQ, *OutFindQ, *OutTempQ;
    Dataset *StoreQ, *StoreiniQ, *AlarmQ, *ChektempQ, *MiostempQ, *MiosQ;
    Dataset *GathQ, *PayQ, *GathMainQ, *PayMainQ, *InListQ, *OutListQ, *OutSortQ, *OutSortCQ;
    Dataset* TempQ;

  private:
    Dataset* make(const char* name, const char* sql, LockMode mode = LockMode::Optimistic);
    void defineFields();

    std::unique_ptr<db::Engine> connection_;
};

// The single instance, created at start-up (tests create their own).
TFrmDataMod* FrmDataMod();

}  // namespace talvor
