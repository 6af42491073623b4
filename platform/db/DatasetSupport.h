#pragma once

// What the parts of the dataset share: its usage errors and how it compares
// and converts values.
#include "platform/db/Error.h"
#include "platform/db/Value.h"

#include <QVariant>

namespace db::detail {

// The name under which a select gives each row's rowid, after its own columns.
inline const QString kRowidColumn = QStringLiteral("__rowid__");

inline Error usage(const QString& text)
{
    return Error(Error::Kind::Usage, text);
}

// Equal as stored: NULL only equals NULL, dates by their moment, texts as
// texts, anything else as numbers.
bool sameValue(const QVariant& a, const QVariant& b);

// Converts a looked-up value to the lookup field's own type: a float or text
// shown in an integer lookup is rounded to a whole number.
QVariant lookupConvert(const QVariant& raw, FieldType type);

} // namespace db::detail
