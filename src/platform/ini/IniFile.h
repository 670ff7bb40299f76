#pragma once

#include <QList>
#include <QString>

namespace ini {

// A settings file of named sections holding "key=value" lines, as the desktop
// settings routines read and write them: names match without regard to case, blanks
// around a value are dropped and enclosing double quotes removed, a missing file or
// key gives the default, and every write reaches the disk at once (the whole file is
// rewritten through a temporary file and a rename).
class IniFile {
public:
    enum class Encoding { Utf8, Gbk };

    // A file that starts with the UTF-8 byte-order mark is read as UTF-8 whatever the encoding.
    explicit IniFile(QString path, Encoding encoding = Encoding::Utf8);

    const QString& path() const { return path_; }
    // Reads the file again (a missing file is empty).
    void reload();

    QString value(const QString& section, const QString& key, const QString& fallback = {}) const;
    // A whole number, decimal or hexadecimal with "0x"; the fallback when missing or unreadable.
    int integer(const QString& section, const QString& key, int fallback = 0) const;
    bool contains(const QString& section, const QString& key) const;
    // Writes the file at once; returns false when the file cannot be written.
    bool setValue(const QString& section, const QString& key, const QString& value);

private:
    struct Entry { QString key; QString value; };
    struct Section { QString name; QList<Entry> entries; };

    Section* findSection(const QString& name);
    const Section* findSection(const QString& name) const;
    bool save() const;

    QString path_;
    Encoding encoding_;
    QList<Section> sections_;
};

} // namespace ini
