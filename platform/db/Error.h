#pragma once

#include <QString>
#include <stdexcept>

namespace db {

// Every failure of the data layer: the engine's own message where the engine
// reported it, our own text otherwise. The data layer never shows UI.
class Error : public std::runtime_error {
public:
    enum class Kind { Engine, NotOpen, WrongKey, MissingFile, RowVanished, Usage };

    Error(Kind kind, const QString& message, int engineCode = 0)
        : std::runtime_error(message.toStdString()), kind_(kind), engineCode_(engineCode) {}

    Kind kind() const { return kind_; }
    int engineCode() const { return engineCode_; }
    QString message() const { return QString::fromStdString(what()); }

private:
    Kind kind_;
    int engineCode_;
};

} // namespace db
