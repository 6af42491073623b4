#include "platform/ui/CharacterLimit.h"

#include "platform/db/Dataset.h"
#include "platform/db/Value.h"

#include <QLineEdit>
#include <algorithm>

namespace ui {

namespace {

// The most UTF-16 units a line edit takes.
constexpr int kLineEditUnits = 32767;

ColumnLimits& installedLimits()
{
    static ColumnLimits limits;
    return limits;
}

int columnLimit(const QString& table, const QString& column)
{
    const ColumnLimits& limits = installedLimits();
    return limits && !table.isEmpty() && !column.isEmpty() ? limits(table, column) : 0;
}

bool pairEndsAt(const QString& text, qsizetype end)
{
    return end >= 2 && text[end - 1].isLowSurrogate() && text[end - 2].isHighSurrogate();
}

} // namespace

CharacterLimit::CharacterLimit(int limit, QObject* parent) : QValidator(parent), limit_(limit)
{
}

QValidator::State CharacterLimit::validate(QString& input, int& pos) const
{
    // The line edit's own maximum may have stopped a paste between the two
    // halves of a character; the half it kept goes too.
    if (pos > 0 && input[pos - 1].isHighSurrogate() && (pos == input.size() || !input[pos].isLowSurrogate()))
        input.remove(--pos, 1);
    qsizetype excess = db::characterCount(input) - limit_;
    if (excess <= 0)
        return Acceptable;
    // What was typed or pasted last ends at the cursor.
    qsizetype start = pos;
    for (; excess > 0 && start > 0; --excess)
        start -= pairEndsAt(input, start) ? 2 : 1;
    input.remove(start, pos - start);
    pos = int(start);
    if (excess > 0) {
        input = db::leftCharacters(input, limit_);
        pos = std::min(pos, int(input.size()));
    }
    return Acceptable;
}

void limitCharacters(QLineEdit* edit, int limit)
{
    if (auto* installed = qobject_cast<CharacterLimit*>(const_cast<QValidator*>(edit->validator())))
        installed->setLimit(limit);
    else
        edit->setValidator(new CharacterLimit(limit, edit));
    // Each character takes at most two units.
    const int units = int(std::min<qint64>(qint64(limit) * 2, kLineEditUnits));
    if (edit->maxLength() != units)
        edit->setMaxLength(units);
}

int characterLimit(const QLineEdit* edit)
{
    const auto* installed = qobject_cast<const CharacterLimit*>(edit->validator());
    return installed ? installed->limit() : 0;
}

void limitCharactersShowing(QLineEdit* edit, int limit, const QString& shown)
{
    if (limit <= 0) {
        limitCharacters(edit, kLineEditUnits);
        return;
    }
    limitCharacters(edit, int(std::max<qsizetype>(limit, db::characterCount(shown))));
}

void setColumnLimits(ColumnLimits limits)
{
    installedLimits() = std::move(limits);
}


int fieldCharacterLimit(const db::Dataset& ds, int fieldIndex)
{
    if (fieldIndex < 0 || fieldIndex >= ds.fieldCount())
        return 0;
    const db::FieldDef& f = ds.fields()[size_t(fieldIndex)];
    if (f.type != db::FieldType::Text)
        return 0;
    const int copies = columnLimit(ds.baseTable(), ds.baseColumn(fieldIndex));
    if (copies > 0 && (f.size <= 0 || copies < f.size))
        return copies;
    return std::max(f.size, 0);
}

} // namespace ui
