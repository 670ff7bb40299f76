#include "orders/Ticket.h"

#include "text/DateText.h"
#include "text/Gbk.h"

#include <QFile>

namespace orders {
namespace {

const QByteArray kChineseModeOn("\x1C\x26");
const QByteArray kChineseModeOff("\x1C\x2E");
const QByteArray kLineEnd("\r\n");

struct Placeholder {
    QString text;
    bool rightAligned = false;
};

bool isLeadByte(char byte) {
    return static_cast<unsigned char>(byte) >= 0x81;
}

// Where each character of GBK bytes starts.
QList<bool> characterStarts(const QByteArray& bytes) {
    QList<bool> starts(bytes.size(), false);
    for (qsizetype i = 0; i < bytes.size(); i += isLeadByte(bytes[i]) ? 2 : 1)
        starts[i] = true;
    return starts;
}

QString lineText(const TicketValues& values, const char* column) {
    return values.line ? values.line->text(QLatin1String(column)) : QString();
}

QString amount(const std::optional<dataset::Record>& record, const char* column) {
    return (record ? record->decimal(QLatin1String(column)) : text::Decimal()).toFixed(2);
}


const QStringList kReservedNames = {QStringLiteral("khbm"), QStringLiteral("dj"), QStringLiteral("je"),
                                    QStringLiteral("zje"), QStringLiteral("QK")};

// The placeholder table. The five reserved names stand for columns the order tables
// do not have: they print an empty text.
std::optional<Placeholder> placeholderValue(const QString& name, const TicketValues& values) {
    const std::optional<dataset::Record> header = values.header;
    if (name == QLatin1String("id")) return Placeholder{values.header.text(QStringLiteral("ID"))};
    if (name == QLatin1String("now")) return Placeholder{text::dateTimeText(values.now)};
    if (name == QLatin1String("czybm")) return Placeholder{values.operatorCode};
    if (name == QLatin1String("khmc")) return Placeholder{values.header.text(QStringLiteral("KHMC"))};
    if (name == QLatin1String("spbm")) return Placeholder{lineText(values, "SPBM")};
    if (name == QLatin1String("spmc")) return Placeholder{lineText(values, "SPMC")};
    if (name == QLatin1String("bz")) return Placeholder{lineText(values, "BZ")};
    if (name == QLatin1String("qx")) return Placeholder{values.header.text(QStringLiteral("QX"))};
    if (name == QLatin1String("sl"))
        return Placeholder{(values.line ? values.line->decimal(QStringLiteral("SL")) : text::Decimal()).toString(), true};
    if (name == QLatin1String("ss")) return Placeholder{amount(header, "SS"), true};
    if (kReservedNames.contains(name)) return Placeholder{};
    return std::nullopt;
}

QString trimmedOfControls(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] <= QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] <= QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

// A width that is no whole number leaves the value unpadded.
QByteArray replacement(const QString& placeholderText, const TicketValues& values) {
    const QString inner = trimmedOfControls(placeholderText);
    const qsizetype comma = inner.indexOf(QLatin1Char(','));
    const QString name = comma < 0 ? inner : inner.left(comma).trimmed();
    const int width = comma < 0 ? 0 : inner.mid(comma + 1).trimmed().toInt();
    const std::optional<Placeholder> value = placeholderValue(name, values);
    if (!value)
        return text::toGbk(name);
    return PadField(text::toGbk(value->text), width,
                    value->rightAligned ? QStringLiteral("R") : QStringLiteral("L"));
}

void appendSection(QByteArray& ticket, const ini::IniFile& ticketTemplate, const QString& section,
                   QChar keyLetter, const TicketValues& values) {
    const int count = ticketTemplate.integer(section, QStringLiteral("Count"));
    for (int i = 0; i < count; ++i) {
        ticket += ConverString(ticketTemplate.value(section, keyLetter + QString::number(i)), values);
        ticket += kLineEnd;
    }
}

} // namespace

QByteArray PadField(const QByteArray& value, int width, const QString& alignment) {
    if (width <= 0)
        return value;
    const QByteArray blanks(width, ' ');
    if (alignment == QLatin1String("L")) {
        QByteArray filled = (value + blanks);
        const QList<bool> starts = characterStarts(filled);
        filled.truncate(width);
        if (!starts.value(width, true))  // the last kept byte is the first half of a character
            filled[width - 1] = ' ';
        return filled;
    }
    const QByteArray filled = blanks + value;
    const qsizetype from = filled.size() - width;
    QByteArray kept = filled.mid(from);
    if (!characterStarts(filled)[from])  // the first kept byte is the second half of a character
        kept[0] = ' ';
    return kept;
}

QByteArray ConverString(const QString& line, const TicketValues& values) {
    QByteArray result;
    qsizetype position = 0;
    while (position < line.size()) {
        const qsizetype open = line.indexOf(QLatin1Char('['), position);
        const qsizetype close = open < 0 ? -1 : line.indexOf(QLatin1Char(']'), open + 1);
        if (close < 0)
            break;
        result += text::toGbk(line.mid(position, open - position));
        result += replacement(line.mid(open + 1, close - open - 1), values);
        position = close + 1;
    }
    result += text::toGbk(line.mid(position));
    return result;
}

QByteArray buildTicket(const ini::IniFile& ticketTemplate, const dataset::Record& header,
                       const dataset::Dataset& lines, int currentLine, const QString& operatorCode,
                       const QDateTime& now) {
    const auto lineAt = [&](int row) -> std::optional<dataset::Record> {
        if (row < 0 || row >= lines.recordCount())
            return std::nullopt;
        return lines.record(row);
    };
    TicketValues values{header, lineAt(currentLine), operatorCode, now};
    QByteArray ticket = kChineseModeOn;
    appendSection(ticket, ticketTemplate, QStringLiteral("Title"), QLatin1Char('T'), values);
    for (int row = 0; row < lines.recordCount(); ++row) {
        values.line = lineAt(row);
        appendSection(ticket, ticketTemplate, QStringLiteral("Data"), QLatin1Char('D'), values);
    }
    values.line = lineAt(0);
    appendSection(ticket, ticketTemplate, QStringLiteral("Footer"), QLatin1Char('F'), values);
    ticket += kChineseModeOff;
    return ticket;
}

QString ticketPortPath(const QString& portSetting) {
    if (portSetting.compare(QLatin1String("LPT1"), Qt::CaseInsensitive) != 0)
        return portSetting;
    const QString usbPrinter = QStringLiteral("/dev/usb/lp0");
    return QFile::exists(usbPrinter) ? usbPrinter : QStringLiteral("/dev/lp0");
}

void writeTicket(const QString& portPath, const QByteArray& ticket) {
    QFile port(portPath);
    if (!port.open(QIODevice::WriteOnly))
        throw TicketError(QStringLiteral("无法打开打印端口 %1：%2").arg(portPath, port.errorString()));
    if (port.write(ticket) != ticket.size() || !port.flush())
        throw TicketError(QStringLiteral("写入打印端口 %1 失败：%2").arg(portPath, port.errorString()));
}

} // namespace orders
