#include "orders/OrderEntry.h"

#include "dataset/Dataset.h"
#include "orders/OrderTexts.h"
#include "orders/RentalOrder.h"
#include "sql/Connection.h"
#include "sql/Dialect.h"
#include "sql/Query.h"
#include "ui/Dialogs.h"

#include <QFileInfo>

namespace orders {

QuickMatches findQuickMatches(sql::Connection& connection, const QString& typed) {
    // InStr and an equality instead of like: a typed "%" or "_" is no wildcard.
    const QString text = QStringLiteral("UCase(%1)").arg(sql::quoted(typed));
    const QString condition = QStringLiteral("( InStr(UCase(jp), %1) > 0 or UCase(bm) = %1 or InStr(UCase(txm), %1) > 0 )")
                                  .arg(text);
    QuickMatches matches;
    matches.listStatement = QStringLiteral("select * from bm_sp where ") + condition;
    matches.count = connection.scalar(QStringLiteral("select count(BM) as cts from bm_sp where ") + condition).toInt();
    if (matches.count == 1)
        matches.firstCode = connection.scalar(QStringLiteral("select BM from bm_sp where ") + condition).toString();
    return matches;
}

bool linesLocked(const StageControls& controls) {
    return controls.stage == Stage::Rented || controls.stage == Stage::Returned;
}

bool pickIntoCurrentLine(RentalOrder& order, const QString& code, QWidget* dialogParent) {
    if (!order.isOpen())
        return false;
    if (linesLocked(order.stageControls())) {
        ui::inform(dialogParent, texts::kLinesLocked);
        return false;
    }
    dataset::Dataset& lines = order.Query_MX;
    try {
        if (!lines.edit())  // an order without lines begins its first line
            return false;
        lines.field(QStringLiteral("SPBM")).setValue(code);  // copies the product, or drops the line
        if (lines.state() == dataset::Dataset::State::Browse)
            return false;
        return lines.post();
    } catch (const sql::Error& error) {
        ui::fail(dialogParent, error.message());
        return false;
    }
}

QStringList employeeNames(sql::Connection& connection) {
    sql::Query employees(connection, QStringLiteral("select * from bm_yg"));
    const int name = employees.indexOf(QStringLiteral("MC"));
    QStringList names;
    while (employees.next())
        names.append(employees.value(name).toString());
    return names;
}

QString employeeNameForLogin(sql::Connection& connection, const QString& login) {
    sql::Query employee(connection, QStringLiteral("select * from bm_yg where dlmc=") + sql::quoted(login));
    return employee.next() ? employee.value(employee.indexOf(QStringLiteral("MC"))).toString() : QString();
}

QString productPicture(dataset::Dataset& scratch, const QString& code) {
    scratch.close();
    scratch.setCommandText(QStringLiteral("select * from bm_sp where bm=") + sql::quoted(code));
    scratch.open();
    const QString picture = scratch.isEmpty() ? QString() : scratch.field(QStringLiteral("TP")).asString();
    return !picture.isEmpty() && QFileInfo(picture).isFile() ? picture : QString();
}

bool isPaymentKey(QChar key) {
    return key.isDigit() || key == QLatin1Char('-') || key == QLatin1Char('.') || key == QLatin1Char('\b')
           || key == QLatin1Char('\r') || key == QLatin1Char('\n');
}

QString paymentTextOnLeaving(const QString& text) {
    return text.isEmpty() ? QStringLiteral("0") : text;
}

} // namespace orders
