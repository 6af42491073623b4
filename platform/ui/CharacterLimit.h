#pragma once

#include <QValidator>
#include <functional>

class QLineEdit;
namespace db {
class Dataset;
}

namespace ui {

// Keeps a line edit's text within a number of characters counted as the
// database counts them (an emoji is one). Of what is typed or pasted past the
// limit, the end is dropped, as a line edit's own maximum length would, but
// never half a character: the line edit's maximum counts UTF-16 units.
class CharacterLimit : public QValidator {
    Q_OBJECT
public:
    CharacterLimit(int limit, QObject* parent);

    int limit() const { return limit_; }
    void setLimit(int limit) { limit_ = limit; }

    State validate(QString& input, int& pos) const override;

private:
    int limit_;
};

// Limits edit to limit characters (replacing any validator it has) and widens
// its maximum length so that the limit, not the UTF-16 count, decides.
void limitCharacters(QLineEdit* edit, int limit);
// The limit limitCharacters put on edit; 0 when there is none.
int characterLimit(const QLineEdit* edit);
// Limits edit to limit characters, or to as many as shown holds where that is
// more (a value stored before is shown whole, never cut); no limit at 0.
void limitCharactersShowing(QLineEdit* edit, int limit, const QString& shown);

// Limits narrower than a column's own size, for columns whose values other
// tables keep copies of: the program names them once (table and column as
// the database spells them; 0 for none), and every box and cell editing such
// a column takes no more characters than the narrowest copy holds.
using ColumnLimits = std::function<int(const QString& table, const QString& column)>;
void setColumnLimits(ColumnLimits limits);
// The most characters a field of ds takes: its size, or the limit of its
// column where that is less; 0 for a field of no text or of no limit.
int fieldCharacterLimit(const db::Dataset& ds, int fieldIndex);

} // namespace ui
