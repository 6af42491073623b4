#pragma once

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"

#include <QList>
#include <QObject>
#include <memory>
#include <vector>

// The data module: the one database connection and the 47 named queries that
// every form and report works through. Forms own no queries: they take one of
// these, replace its SQL where they need another selection, open it and bind
// to it. Each query comes with its design SQL, lock type and declared fields
// (data, lookup and calculated); after construction the connection is closed
// and no query is open. The login opens AdoConn. A code typed into a field
// that names a record (a card, a service, an employee, goods, a company) is
// written as that record spells it, whatever the letter case typed.
class TFrmDataMod : public QObject {
    Q_OBJECT
public:
    explicit TFrmDataMod(QObject* parent = nullptr);
    ~TFrmDataMod() override;

    // The query of that name, exactly as spelled below; nullptr when there is none.
    db::Dataset* query(const QString& name) const;
    // Every query, in the order declared below.
    QList<db::Dataset*> queries() const;

    // Declared before the queries, which hold a reference to it.
    db::Connection AdoConn;

    db::Dataset TempQ{AdoConn, QStringLiteral("TempQ"), this};
    db::Dataset EmployeeQ{AdoConn, QStringLiteral("EmployeeQ"), this};
    db::Dataset CompanyQ{AdoConn, QStringLiteral("CompanyQ"), this};
    db::Dataset GoodsQ{AdoConn, QStringLiteral("GoodsQ"), this};
    db::Dataset GoodsFindQ{AdoConn, QStringLiteral("GoodsFindQ"), this};
    db::Dataset InFindQ{AdoConn, QStringLiteral("InFindQ"), this};
    db::Dataset InMainQ{AdoConn, QStringLiteral("InMainQ"), this};
    db::Dataset InGoodsQ{AdoConn, QStringLiteral("InGoodsQ"), this};
    db::Dataset OutMainQ{AdoConn, QStringLiteral("OutMainQ"), this};
    db::Dataset OutGoodsQ{AdoConn, QStringLiteral("OutGoodsQ"), this};
    db::Dataset OutFindQ{AdoConn, QStringLiteral("OutFindQ"), this};
    db::Dataset OutListQ{AdoConn, QStringLiteral("OutListQ"), this};
    db::Dataset OutSortQ{AdoConn, QStringLiteral("OutSortQ"), this};
    db::Dataset OutSortCQ{AdoConn, QStringLiteral("OutSortCQ"), this};
    db::Dataset InsiderQ{AdoConn, QStringLiteral("InsiderQ"), this};
    db::Dataset BespeakQ{AdoConn, QStringLiteral("BespeakQ"), this};
    db::Dataset ServeItemQ{AdoConn, QStringLiteral("ServeItemQ"), this};
    db::Dataset ServeFlowQ{AdoConn, QStringLiteral("ServeFlowQ"), this};
    db::Dataset UserQ{AdoConn, QStringLiteral("UserQ"), this};
    db::Dataset ProdDefiQ{AdoConn, QStringLiteral("ProdDefiQ"), this};
    db::Dataset MoneDefQ{AdoConn, QStringLiteral("MoneDefQ"), this};
    db::Dataset FeeDefiQ{AdoConn, QStringLiteral("FeeDefiQ"), this};
    db::Dataset UnitDefiQ{AdoConn, QStringLiteral("UnitDefiQ"), this};
    db::Dataset SizeDefiQ{AdoConn, QStringLiteral("SizeDefiQ"), this};
    db::Dataset ColorDefiQ{AdoConn, QStringLiteral("ColorDefiQ"), this};
    db::Dataset KindDefiQ{AdoConn, QStringLiteral("KindDefiQ"), this};
    db::Dataset TypeDefiQ{AdoConn, QStringLiteral("TypeDefiQ"), this};
    db::Dataset SpecDefiQ{AdoConn, QStringLiteral("SpecDefiQ"), this};
    db::Dataset DyeHairQ{AdoConn, QStringLiteral("DyeHairQ"), this};
    db::Dataset MarcelQ{AdoConn, QStringLiteral("MarcelQ"), this};
    db::Dataset ServeFindQ{AdoConn, QStringLiteral("ServeFindQ"), this};
    db::Dataset OutTempQ{AdoConn, QStringLiteral("OutTempQ"), this};
    db::Dataset StoreiniQ{AdoConn, QStringLiteral("StoreiniQ"), this};
    db::Dataset StoreQ{AdoConn, QStringLiteral("StoreQ"), this};
    db::Dataset InsiFeeQ{AdoConn, QStringLiteral("InsiFeeQ"), this};
    db::Dataset CardTypeQ{AdoConn, QStringLiteral("CardTypeQ"), this};
    db::Dataset EmplListQ{AdoConn, QStringLiteral("EmplListQ"), this};
    db::Dataset ListTempQ{AdoConn, QStringLiteral("ListTempQ"), this};
    db::Dataset ServSortIQ{AdoConn, QStringLiteral("ServSortIQ"), this};
    db::Dataset ServSortSQ{AdoConn, QStringLiteral("ServSortSQ"), this};
    db::Dataset SalaryQ{AdoConn, QStringLiteral("SalaryQ"), this};
    db::Dataset GainInQ{AdoConn, QStringLiteral("GainInQ"), this};
    db::Dataset GainOutQ{AdoConn, QStringLiteral("GainOutQ"), this};
    db::Dataset GainServeQ{AdoConn, QStringLiteral("GainServeQ"), this};
    db::Dataset GainEInQ{AdoConn, QStringLiteral("GainEInQ"), this};
    db::Dataset GainEOutQ{AdoConn, QStringLiteral("GainEOutQ"), this};
    db::Dataset PowerQ{AdoConn, QStringLiteral("PowerQ"), this};

private:
    struct CodeSpelling;
    // After the queries, so they go before the queries do.
    std::vector<std::unique_ptr<CodeSpelling>> codeSpellings_;
};

// The program's one data module; set by whoever creates it (start-up, tests)
// and cleared when that module is destroyed.
extern TFrmDataMod* FrmDataMod;
