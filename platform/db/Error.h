#pragma once

#include <QString>
#include <exception>
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
    // The engine's (extended) result code; 0 for a failure of our own.
    int engineCode() const { return engineCode_; }
    // As the engine or the thrower gave it: the words support needs.
    QString message() const { return QString::fromStdString(what()); }
    // In words a front desk reads and can act on: the engine's reasons a user
    // can meet are told in Chinese by their result code; our own texts, and
    // what the database's triggers raise, are such words already.
    QString reason() const;

private:
    Kind kind_;
    int engineCode_;
};

// What a user is told of any failure: reason() of the data layer's errors,
// what() of every other.
QString reasonOf(const std::exception& e);
// The engine's own words behind reasonOf(e), for support; "" when the reason
// is all there is.
QString detailsOf(const std::exception& e);

} // namespace db
