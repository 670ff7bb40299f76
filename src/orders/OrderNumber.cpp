#include "orders/OrderNumber.h"

#include "text/DateText.h"

namespace orders {

namespace {

constexpr int kLastRunningNumber = 99999;

} // namespace

QString orderNumberPrefix(const QDate& day, const QString& employeeCode) {
    return text::compactDateText(day) + employeeCode;
}

QString nextOrderNumber(const QString& lastNumber, const QString& prefix) {
    const QString first = QString(kRunningNumberDigits, QLatin1Char('0'));
    if (lastNumber < prefix + first)
        return prefix + QString::number(1).rightJustified(kRunningNumberDigits, QLatin1Char('0'));
    // Taken from the end, so the running number is found whatever the code's length.
    const int running = lastNumber.right(kRunningNumberDigits).toInt() + 1;
    if (running > kLastRunningNumber)
        return QString();
    return prefix + QString::number(running).rightJustified(kRunningNumberDigits, QLatin1Char('0'));
}

} // namespace orders
