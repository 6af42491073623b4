#pragma once

#include <QValidator>

class QLineEdit;

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

} // namespace ui
