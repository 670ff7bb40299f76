#include "ini/IniFile.h"

#include "text/Gbk.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace ini {
namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

QString decode(const QByteArray& bytes, IniFile::Encoding encoding) {
    if (bytes.startsWith(kUtf8Bom))
        return QString::fromUtf8(bytes.mid(kUtf8Bom.size()));
    return encoding == IniFile::Encoding::Gbk ? text::fromGbk(bytes) : QString::fromUtf8(bytes);
}

// Blanks around a value are dropped; a value in double quotes loses them, so that it
// can keep blanks of its own.
QString valueText(const QString& raw) {
    const QString value = raw.trimmed();
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
        return value.mid(1, value.size() - 2);
    return value;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

IniFile::IniFile(QString path, Encoding encoding) : path_(std::move(path)), encoding_(encoding) {
    reload();
}

void IniFile::reload() {
    sections_.clear();
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QString content = decode(file.readAll(), encoding_);
    Section* current = nullptr;
    for (QString line : content.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2).trimmed();
            current = findSection(name);
            if (!current) {
                sections_.append({name, {}});
                current = &sections_.last();
            }
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!current || equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = valueText(line.mid(equals + 1));
        auto existing = std::find_if(current->entries.begin(), current->entries.end(),
                                     [&](const Entry& e) { return sameName(e.key, key); });
        if (existing == current->entries.end())  // the first of two equal keys wins, as on the desktop
            current->entries.append({key, value});
    }
}

IniFile::Section* IniFile::findSection(const QString& name) {
    for (Section& section : sections_)
        if (sameName(section.name, name))
            return &section;
    return nullptr;
}

const IniFile::Section* IniFile::findSection(const QString& name) const {
    return const_cast<IniFile*>(this)->findSection(name);
}

QString IniFile::value(const QString& section, const QString& key, const QString& fallback) const {
    if (const Section* found = findSection(section))
        for (const Entry& entry : found->entries)
            if (sameName(entry.key, key))
                return entry.value;
    return fallback;
}

int IniFile::integer(const QString& section, const QString& key, int fallback) const {
    const QString text = value(section, key);
    bool ok = false;
    const int number = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? text.mid(2).toInt(&ok, 16)
                                                                                   : text.toInt(&ok, 10);
    return ok ? number : fallback;
}

bool IniFile::contains(const QString& section, const QString& key) const {
    const Section* found = findSection(section);
    return found && std::any_of(found->entries.begin(), found->entries.end(),
                                [&](const Entry& e) { return sameName(e.key, key); });
}

bool IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    reload();  // another window may have written the file since it was read
    Section* target = findSection(section);
    if (!target) {
        sections_.append({section, {}});
        target = &sections_.last();
    }
    auto existing = std::find_if(target->entries.begin(), target->entries.end(),
                                 [&](const Entry& e) { return sameName(e.key, key); });
    if (existing != target->entries.end())
        existing->value = value;
    else
        target->entries.append({key, value});
    return save();
}

bool IniFile::save() const {
    QStringList lines;
    for (const Section& section : sections_) {
        lines << QLatin1Char('[') + section.name + QLatin1Char(']');
        for (const Entry& entry : section.entries)
            lines << entry.key + QLatin1Char('=') + entry.value;
        lines << QString();
    }
    const QString content = lines.join(QLatin1Char('\n'));
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(encoding_ == Encoding::Gbk ? text::toGbk(content) : content.toUtf8());
    return file.commit();
}

} // namespace ini
