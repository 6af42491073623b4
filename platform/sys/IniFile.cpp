#include "platform/sys/IniFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <optional>
#include <vector>

namespace sys {

namespace {

const QByteArray utf8Bom("\xEF\xBB\xBF");

struct Line {
    QString text;
    QString eol; // "\n", "\r\n", or "" for a last line without a break
};

struct Document {
    std::vector<Line> lines;
    bool bom = false;
    bool unreadable = false; // exists but could not be read: never overwrite it

    // New lines follow the file's own convention, taken from its first break.
    QString eol() const
    {
        for (const Line& line : lines)
            if (!line.eol.isEmpty())
                return line.eol;
        return QStringLiteral("\n");
    }
};

QString decode(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    // Files saved by older Chinese tools are in the local code page; without
    // ICU there is no GB18030 decoder and the replacement characters stand.
    QStringDecoder gb18030("GB18030", QStringConverter::Flag::Stateless);
    if (gb18030.isValid())
        return gb18030(bytes);
    return text;
}

std::vector<Line> splitLines(const QString& text)
{
    std::vector<Line> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype newline = text.indexOf(QLatin1Char('\n'), start);
        if (newline < 0) {
            lines.push_back({text.mid(start), QString()});
            break;
        }
        const bool crlf = newline > start && text.at(newline - 1) == QLatin1Char('\r');
        const qsizetype textEnd = crlf ? newline - 1 : newline;
        lines.push_back({text.mid(start, textEnd - start),
                         crlf ? QStringLiteral("\r\n") : QStringLiteral("\n")});
        start = newline + 1;
    }
    return lines;
}

Document load(const QString& path)
{
    Document doc;
    QFile file(path);
    if (!file.exists())
        return doc;
    if (!file.open(QIODevice::ReadOnly)) {
        doc.unreadable = true;
        return doc;
    }
    QByteArray bytes = file.readAll();
    if (bytes.startsWith(utf8Bom)) {
        doc.bom = true;
        bytes.remove(0, utf8Bom.size());
    }
    doc.lines = splitLines(decode(bytes));
    return doc;
}

std::optional<QString> sectionName(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
    if (close < 0)
        return std::nullopt;
    return trimmed.mid(1, close - 1).trimmed();
}

struct Entry {
    QString key;
    QString value;
};

std::optional<Entry> entry(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#')))
        return std::nullopt;
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0)
        return std::nullopt;
    Entry result{line.left(equals).trimmed(), line.mid(equals + 1).trimmed()};
    if (result.key.isEmpty())
        return std::nullopt;
    return result;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Where a key stands in the first section of its name; -1 for what is absent.
struct Location {
    int header = -1;
    int keyLine = -1;
    int lastContent = -1; // last non-blank line of the section, the header at least
};

Location locate(const std::vector<Line>& lines, const QString& section, const QString& key)
{
    Location at;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const QString& text = lines[i].text;
        if (const auto name = sectionName(text)) {
            if (at.header >= 0)
                break;
            if (sameName(*name, section))
                at.header = at.lastContent = i;
            continue;
        }
        if (at.header < 0)
            continue;
        if (!text.trimmed().isEmpty())
            at.lastContent = i;
        if (at.keyLine < 0) {
            const auto found = entry(text);
            if (found && sameName(found->key, key))
                at.keyLine = i;
        }
    }
    return at;
}

void insertLine(Document& doc, std::size_t position, const QString& text)
{
    const QString eol = doc.eol();
    if (position > 0 && doc.lines[position - 1].eol.isEmpty())
        doc.lines[position - 1].eol = eol;
    doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(position), Line{text, eol});
}

bool save(const QString& path, const Document& doc)
{
    QString text;
    for (const Line& line : doc.lines)
        text += line.text + line.eol;
    QByteArray bytes = text.toUtf8();
    if (doc.bom)
        bytes.prepend(utf8Bom);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString oneLine(QString value)
{
    value.replace(QLatin1String("\r\n"), QLatin1String(" "));
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return value;
}

} // namespace

IniFile::IniFile(QString path)
    : path_(std::move(path))
{
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const Document doc = load(path_);
    const Location at = locate(doc.lines, section, key);
    if (at.keyLine < 0)
        return defaultValue;
    return entry(doc.lines[at.keyLine].text)->value;
}

int IniFile::readInt(const QString& section, const QString& key, int defaultValue) const
{
    bool ok = false;
    const int value = readString(section, key, QString()).toInt(&ok, 10);
    return ok ? value : defaultValue;
}

bool IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    Document doc = load(path_);
    if (doc.unreadable)
        return false;
    const Location at = locate(doc.lines, section, key);
    const QString newValue = oneLine(value);

    if (at.keyLine >= 0) {
        // The key keeps the spelling the file already gave it.
        doc.lines[at.keyLine].text = entry(doc.lines[at.keyLine].text)->key + QLatin1Char('=') + newValue;
    } else if (at.header >= 0) {
        insertLine(doc, at.lastContent + 1, key + QLatin1Char('=') + newValue);
    } else {
        insertLine(doc, doc.lines.size(), QLatin1Char('[') + section + QLatin1Char(']'));
        insertLine(doc, doc.lines.size(), key + QLatin1Char('=') + newValue);
    }
    return save(path_, doc);
}

bool IniFile::writeInt(const QString& section, const QString& key, int value)
{
    return writeString(section, key, QString::number(value));
}

} // namespace sys
