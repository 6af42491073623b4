#pragma once

#include "platform/db/Value.h"

#include <QString>

namespace db {

struct FieldDef {
    enum class Kind { Data, Lookup, Calculated };

    QString name;
    FieldType type = FieldType::Text;
    int size = 0;      // text(n): most characters; 0 = no limit
    QString format;    // display format: "" or "#0.##"
    Kind kind = Kind::Data;
    // Lookup: lookupResult of the lookupTable row whose lookupKey equals this
    // row's keyField (which may itself be a lookup field declared earlier).
    QString keyField, lookupTable, lookupKey, lookupResult;

    bool readOnly() const { return kind == Kind::Lookup || type == FieldType::AutoInc; }

    static FieldDef data(const QString& name, FieldType type, int size = 0, const QString& format = {});
    static FieldDef lookup(const QString& name, FieldType type, int size, const QString& keyField,
                           const QString& table, const QString& key, const QString& result,
                           const QString& format = {});
    static FieldDef calculated(const QString& name, FieldType type, const QString& format = {});
};

} // namespace db
