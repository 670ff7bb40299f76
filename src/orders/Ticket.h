#pragma once

#include "dataset/Dataset.h"
#include "ini/IniFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>
#include <stdexcept>

// The receipt ticket: plain text lines from the template PrintFormat/xpjhl.piv (GBK),
// with placeholders filled from the order, framed by the printer's Chinese-mode
// commands and written straight to the receipt printer's port.
namespace orders {

class TicketError : public std::runtime_error {
public:
    explicit TicketError(const QString& message) : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

private:
    QString message_;
};

// What the placeholders of one template line read: the order header, the order line
// in question (none when the order has no lines), the operator and the moment of printing.
struct TicketValues {
    dataset::Record header;
    std::optional<dataset::Record> line;
    QString operatorCode;
    QDateTime now;
};

// Fills GBK bytes to a width: alignment "L" puts the value first and cuts at the right,
// any other puts blanks first and cuts at the left. Width 0 (or less) leaves the value
// unchanged. A cut that falls inside a two-byte character blanks that half character.
QByteArray PadField(const QByteArray& value, int width, const QString& alignment);

// One template line with every "[name]" or "[name,width]" replaced, as GBK bytes.
// Replaced values are never scanned again; a "[" without a later "]" leaves the rest
// of the line as it stands; a width that is no whole number leaves the value unpadded.
QByteArray ConverString(const QString& line, const TicketValues& values);

// The whole ticket: FS &, the Title lines (line placeholders from the line at
// currentLine), the Data lines once per order line, the Footer lines (from the
// first line), FS . — every template line ending in CR LF.
QByteArray buildTicket(const ini::IniFile& ticketTemplate, const dataset::Record& header,
                       const dataset::Dataset& lines, int currentLine, const QString& operatorCode,
                       const QDateTime& now);

// The device or file of the port setting: "LPT1" is the first USB printer
// (/dev/usb/lp0) when there is one, else the first parallel port (/dev/lp0); any
// other value is a device or file path.
QString ticketPortPath(const QString& portSetting);

// Writes the ticket in one piece; throws TicketError naming the port when it cannot.
void writeTicket(const QString& portPath, const QByteArray& ticket);

} // namespace orders
