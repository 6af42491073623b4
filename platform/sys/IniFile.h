#pragma once

#include <QString>

namespace sys {

// A settings file in INI format with the conventions of the Windows profile
// functions, so files written by hand or by older tools read the same:
//  - section and key names compare case-insensitively; the first matching
//    section and the first matching key in it win;
//  - a value is the raw text after the first '=' with surrounding blanks
//    trimmed: no quotes or escapes are interpreted;
//  - lines starting with ';' or '#' are comments; lines without '=' are kept
//    but carry no key;
//  - a missing file, section or key reads as the caller's default.
// Every call reads the file anew, so changes made by others are seen at once.
// The file is read as UTF-8, or as GB18030 when it is not valid UTF-8, and is
// always written as UTF-8.
//
//   sys::IniFile ini(programFolder() + "system.ini");
//   int width = ini.readInt("pagesize", "page_width", 210);
//   ini.writeString("nettype", "datasource", path);
class IniFile {
public:
    explicit IniFile(QString path);

    const QString& path() const { return path_; }

    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    // The default also when the value is not a whole decimal integer
    // (an optional sign and digits only).
    int readInt(const QString& section, const QString& key, int defaultValue) const;

    // Sets one key and leaves every other line of the file as it was
    // (comments, order, unknown keys, line endings). A missing key is added at
    // the end of its section, a missing section at the end of the file, a
    // missing file is created. Line breaks inside the value become spaces,
    // since a value is one line. The file is replaced atomically.
    // False when the file could not be written; it is then unchanged.
    bool writeString(const QString& section, const QString& key, const QString& value);
    bool writeInt(const QString& section, const QString& key, int value);

private:
    QString path_;
};

} // namespace sys
