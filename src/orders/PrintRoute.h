#pragma once

#include <QDateTime>
#include <QString>

namespace shell {
class TDM_CS;
}

// The two ways the order window prints an order: the receipt ticket written to the
// ticket printer's port, and the page report (not offered yet).
namespace orders {

class RentalOrder;

// What the print command says while the page report cannot be printed.
inline const QString kPagePrintingUnavailable =
    QStringLiteral("单据的页面打印功能暂未提供，本次没有打印。需要打印时请勾选“使用小票打印格式”打印小票。");

// PrintFormat/xpjhl.piv below the program directory.
QString ticketTemplatePath(const shell::TDM_CS& dm);
// The warning when the ticket option is ticked without the template file.
QString missingTicketTemplateText(const QString& path);

// The ticket of the open order, from the template file (GBK), written to the port of
// the settings ([xsd] port, "LPT1" by default). Title lines read the line under the
// cursor. Throws TicketError with the operator's message when the template is missing,
// a width is no whole number or the port cannot be written.
void printTicket(shell::TDM_CS& dm, const RentalOrder& order, const QDateTime& now);

} // namespace orders
