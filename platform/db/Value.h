#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <optional>

// Values cross the data layer as QVariant: an invalid QVariant is SQL NULL,
// qlonglong an integer, double a float, QString text, QDateTime a date-time,
// bool a boolean.
namespace db {

enum class FieldType { Text, Integer, SmallInt, Float, DateTime, Boolean, AutoInc };

bool isNumeric(FieldType t);

// The one stored form of a date-time: "YYYY-MM-DD HH:MM:SS" (a date alone at 00:00:00).
QString toStorageText(const QDateTime& dt);
QString toStorageText(const QDate& d);
// Reads "YYYY-MM-DD", "YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS"; invalid QDateTime otherwise.
QDateTime fromStorageText(const QString& text);

// The one form a date is shown in, everywhere: lists, printed pages, date
// boxes and the status bar ("2026-12-09").
QString dateFormat();
QString dateText(const QDate& d);

// Converts a value to the representation a field of this type holds.
// Empty text becomes NULL for every type (a cleared box stores NULL).
QVariant coerce(const QVariant& v, FieldType type);

// NULL reads as "" and 0.
QString asString(const QVariant& v);
double asFloat(const QVariant& v);
qlonglong asInt(const QVariant& v);
bool asBool(const QVariant& v);
QDateTime asDateTime(const QVariant& v);

// Display format "#0.##": at least one digit before the point, at most two
// after it, halves rounded away from zero, no grouping, "." always.
QString formatAmount(double v);
// Reads what formatAmount writes (and any plain decimal with "."); blanks around are allowed.
std::optional<double> parseAmount(const QString& text);

// How a date-time is shown: "yyyy-MM-dd", with " HH:mm:ss" unless it is midnight.
QString displayDateTime(const QDate& date, const QTime& time);

// Text of a value under a display format; "" or "#0.##" are the formats in use.
QString displayText(const QVariant& v, FieldType type, const QString& format);

// Characters as the database counts them (length() of a text): a character
// beyond the basic plane, such as an emoji, is one though it takes two UTF-16 units.
qsizetype characterCount(QStringView text);
// The first n characters of text; a character is never cut in two.
QString leftCharacters(const QString& text, qsizetype n);
// Typed text as a message quotes it: whole when short, otherwise its start
// followed by "…", so a long paste does not fill the screen.
QString messageExcerpt(const QString& text);

// Stored text from its UTF-8 bytes. Every character is kept, a leading
// U+FEFF too (the general decoder takes it for a byte-order mark and drops it).
QString textFromUtf8(const char* data, qsizetype size);

// Text as the database's code columns (COLLATE NOCASE) compare it: the
// letters A to Z as a to z, every other character as it is.
QString foldedAsDatabase(const QString& text);

// Whether a whole number fits a column of that type: integer columns hold
// 32 bits, small-integer columns 16, whatever the engine would take.
bool fitsWholeNumberColumn(qlonglong v, FieldType type);

} // namespace db
