#include "orders/PrintRoute.h"

#include "ini/IniFile.h"
#include "orders/RentalOrder.h"
#include "orders/Ticket.h"
#include "shell/DataModule.h"

#include <QFileInfo>

namespace orders {

QString ticketTemplatePath(const shell::TDM_CS& dm) {
    return dm.programPath(QStringLiteral("PrintFormat/xpjhl.piv"));
}

QString missingTicketTemplateText(const QString& path) {
    return QStringLiteral("打印格式文件") + path + QStringLiteral("不存在！");
}

void printTicket(shell::TDM_CS& dm, const RentalOrder& order, const QDateTime& now) {
    const QString path = ticketTemplatePath(dm);
    if (!QFileInfo(path).isFile())
        throw TicketError(missingTicketTemplateText(path));
    const ini::IniFile ticketTemplate(path, ini::IniFile::Encoding::Gbk);
    const QByteArray ticket = buildTicket(ticketTemplate, order.Query_ZB.currentRecord(), order.Query_MX,
                                          order.Query_MX.row(), dm.OperatorCode, now);
    writeTicket(ticketPortPath(dm.settings().ticketPort()), ticket);
}

} // namespace orders
