#include "platform/db/Value.h"

#include "platform/db/Error.h"

#include <QStringDecoder>
#include <cmath>
#include <cstring>
#include <limits>

namespace db {

namespace {

const QString kStorageFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

bool isTextual(const QVariant& v)
{
    return v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray;
}

QVariant integerFrom(const QVariant& v)
{
    if (isTextual(v)) {
        bool ok = false;
        const qlonglong n = v.toString().trimmed().toLongLong(&ok);
        if (!ok)
            throw Error(Error::Kind::Usage, QStringLiteral("“%1”不是有效的整数").arg(messageExcerpt(v.toString())));
        return n;
    }
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
        const double d = v.toDouble();
        // A fraction is kept as it is, so the database refuses it rather than
        // it being rounded away silently.
        if (d != std::trunc(d))
            return d;
        return qlonglong(d);
    }
    if (v.typeId() == QMetaType::Bool)
        return qlonglong(v.toBool() ? 1 : 0);
    return v.toLongLong();
}

QVariant floatFrom(const QVariant& v)
{
    if (isTextual(v)) {
        const auto parsed = parseAmount(v.toString());
        if (!parsed)
            throw Error(Error::Kind::Usage, QStringLiteral("“%1”不是有效的数值").arg(messageExcerpt(v.toString())));
        return *parsed;
    }
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? 1.0 : 0.0;
    return v.toDouble();
}

QVariant dateTimeFrom(const QVariant& v)
{
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    if (v.typeId() == QMetaType::QDate)
        return QDateTime(v.toDate(), QTime(0, 0));
    const QDateTime dt = fromStorageText(v.toString().trimmed());
    if (!dt.isValid())
        throw Error(Error::Kind::Usage, QStringLiteral("“%1”不是有效的日期").arg(messageExcerpt(v.toString())));
    return dt;
}

QVariant boolFrom(const QVariant& v)
{
    if (isTextual(v)) {
        const QString t = v.toString().trimmed().toLower();
        return t == "1" || t == "true" || t == "yes" || t == "-1";
    }
    return v.toDouble() != 0;
}

} // namespace

bool isNumeric(FieldType t)
{
    return t == FieldType::Integer || t == FieldType::SmallInt || t == FieldType::Float
           || t == FieldType::AutoInc;
}

QString toStorageText(const QDateTime& dt)
{
    return dt.toString(kStorageFormat);
}

QString toStorageText(const QDate& d)
{
    return QDateTime(d, QTime(0, 0)).toString(kStorageFormat);
}

namespace {

// Digits at text[from, from+count) as a number; -1 when any is not a digit.
int digitsAt(const QString& text, int from, int count)
{
    int n = 0;
    for (int i = from; i < from + count; ++i) {
        const int d = text[i].digitValue();
        if (d < 0 || d > 9)
            return -1;
        n = n * 10 + d;
    }
    return n;
}

bool separatorAt(const QString& text, int at, char c)
{
    return text[at] == QLatin1Char(c);
}

} // namespace

QDateTime fromStorageText(const QString& text)
{
    // The stored form is read by hand: it is read for every row of every
    // dated query, and the general parser is many times slower.
    const int n = int(text.size());
    if (n != 10 && n != 16 && n != 19)
        return {};
    const int y = digitsAt(text, 0, 4), mo = digitsAt(text, 5, 2), d = digitsAt(text, 8, 2);
    if (y < 0 || mo < 0 || d < 0 || !separatorAt(text, 4, '-') || !separatorAt(text, 7, '-'))
        return {};
    int h = 0, mi = 0, se = 0;
    if (n >= 16) {
        if (!(separatorAt(text, 10, ' ') || separatorAt(text, 10, 'T')) || !separatorAt(text, 13, ':'))
            return {};
        h = digitsAt(text, 11, 2);
        mi = digitsAt(text, 14, 2);
        if (n == 19) {
            if (!separatorAt(text, 16, ':'))
                return {};
            se = digitsAt(text, 17, 2);
        }
    }
    const QDate date(y, mo, d);
    const QTime time(h, mi, se);
    if (!date.isValid() || !time.isValid() || h < 0 || mi < 0 || se < 0)
        return {};
    return QDateTime(date, time);
}

QVariant coerce(const QVariant& v, FieldType type)
{
    if (!v.isValid() || v.isNull())
        return {};
    if (isTextual(v) && v.toString().isEmpty())
        return {};
    switch (type) {
    case FieldType::Text:
        if (v.typeId() == QMetaType::QDateTime)
            return toStorageText(v.toDateTime());
        if (v.typeId() == QMetaType::Double)
            return QString::number(v.toDouble(), 'g', 15);
        return v.toString();
    case FieldType::Integer:
    case FieldType::SmallInt:
    case FieldType::AutoInc:
        return integerFrom(v);
    case FieldType::Float:
        return floatFrom(v);
    case FieldType::DateTime:
        return dateTimeFrom(v);
    case FieldType::Boolean:
        return boolFrom(v);
    }
    return v;
}

QString asString(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::QDateTime:
        return toStorageText(v.toDateTime());
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return v.toString();
    }
}

double asFloat(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return 0;
    if (isTextual(v))
        return parseAmount(v.toString()).value_or(0);
    return v.toDouble();
}

qlonglong asInt(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return 0;
    if (v.typeId() == QMetaType::Double)
        return std::llround(v.toDouble());
    if (isTextual(v))
        return std::llround(parseAmount(v.toString()).value_or(0));
    return v.toLongLong();
}

bool asBool(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return false;
    return boolFrom(v).toBool();
}

QDateTime asDateTime(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    if (v.typeId() == QMetaType::QDate)
        return QDateTime(v.toDate(), QTime(0, 0));
    return fromStorageText(v.toString());
}

QString formatAmount(double v)
{
    if (!std::isfinite(v))
        return QString::number(v);
    // Whole amounts, the most common, need no rounding.
    if (std::fabs(v) < 1e15 && v == std::trunc(v))
        return QString::number(qlonglong(v));
    // Ten fixed decimals first: a value like 1.005, held in binary a hair
    // below, still rounds as the decimal the user typed.
    QByteArray digits = QByteArray::number(std::fabs(v), 'f', 10);
    const int point = digits.indexOf('.');
    QByteArray whole = digits.left(point);
    int cents = digits.mid(point + 1, 2).toInt();
    if (digits.at(point + 3) >= '5')
        ++cents;
    if (cents == 100) {
        cents = 0;
        whole = QByteArray::number(whole.toLongLong() + 1);
    }
    QString text = QString::fromLatin1(whole);
    if (cents != 0) {
        QString frac = QStringLiteral("%1").arg(cents, 2, 10, QLatin1Char('0'));
        if (frac.endsWith('0'))
            frac.chop(1);
        text += '.' + frac;
    }
    if (v < 0 && (cents != 0 || whole.toLongLong() != 0))
        text.prepend('-');
    return text;
}

std::optional<double> parseAmount(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double d = t.toDouble(&ok); // QString::toDouble is locale-independent ("." only)
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}

QString dateFormat()
{
    return QStringLiteral("yyyy-MM-dd");
}

QString dateText(const QDate& d)
{
    return d.toString(dateFormat());
}

namespace {

void putDigits(QChar*& out, int value, int count)
{
    for (int i = count - 1; i >= 0; --i) {
        out[i] = QChar(u'0' + value % 10);
        value /= 10;
    }
    out += count;
}

} // namespace

QString displayDateTime(const QDate& date, const QTime& time)
{
    if (!date.isValid())
        return {};
    int year = 0, month = 0, day = 0;
    date.getDate(&year, &month, &day); // one calendar conversion, not three
    if (year < 0 || year > 9999)
        return time == QTime(0, 0) ? dateText(date) : toStorageText(QDateTime(date, time));
    // Written out by hand in the form dateFormat() names: grids show one of
    // these for every dated row.
    const bool midnight = time == QTime(0, 0);
    QString text(midnight ? 10 : 19, Qt::Uninitialized);
    QChar* out = text.data();
    putDigits(out, year, 4);
    *out++ = u'-';
    putDigits(out, month, 2);
    *out++ = u'-';
    putDigits(out, day, 2);
    if (!midnight) {
        *out++ = u' ';
        putDigits(out, time.hour(), 2);
        *out++ = u':';
        putDigits(out, time.minute(), 2);
        *out++ = u':';
        putDigits(out, time.second(), 2);
    }
    return text;
}

QString displayText(const QVariant& v, FieldType type, const QString& format)
{
    if (!v.isValid() || v.isNull())
        return {};
    if (format == QLatin1String("#0.##") && (isNumeric(type) || v.typeId() == QMetaType::Double))
        return formatAmount(asFloat(v));
    if (type == FieldType::DateTime) {
        const QDateTime dt = asDateTime(v);
        return dt.isValid() ? displayDateTime(dt.date(), dt.time()) : QString();
    }
    if (type == FieldType::Float)
        return QString::number(asFloat(v), 'g', 15);
    return asString(v);
}

namespace {

// How many characters of a message quote a typed text before "…".
constexpr qsizetype kExcerptCharacters = 40;

bool pairAt(QStringView text, qsizetype i)
{
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
}

} // namespace

qsizetype characterCount(QStringView text)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); i += pairAt(text, i) ? 2 : 1)
        ++count;
    return count;
}

QString leftCharacters(const QString& text, qsizetype n)
{
    qsizetype end = 0;
    for (qsizetype taken = 0; taken < n && end < text.size(); ++taken)
        end += pairAt(text, end) ? 2 : 1;
    return text.left(end);
}

QString messageExcerpt(const QString& text)
{
    if (characterCount(text) <= kExcerptCharacters)
        return text;
    return leftCharacters(text, kExcerptCharacters) + QChar(0x2026);
}

QString textFromUtf8(const char* data, qsizetype size)
{
    if (size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        return utf8(QByteArrayView(data, size));
    }
    return QString::fromUtf8(data, size);
}

QString foldedAsDatabase(const QString& text)
{
    QString folded = text;
    for (QChar& c : folded)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() - u'A' + u'a');
    return folded;
}

bool fitsWholeNumberColumn(qlonglong v, FieldType type)
{
    switch (type) {
    case FieldType::SmallInt:
        return v >= std::numeric_limits<qint16>::min() && v <= std::numeric_limits<qint16>::max();
    case FieldType::Integer:
    case FieldType::AutoInc:
        return v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max();
    default:
        return true;
    }
}

} // namespace db
