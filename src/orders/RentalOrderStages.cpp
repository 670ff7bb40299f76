// The six stage commands of a rental order: reservation, rental and return, each
// confirmed and cancelled, with the money taken and the stock moved.

#include "orders/RentalOrder.h"

#include "orders/OrderTexts.h"

#include <QScopeGuard>

namespace orders {

namespace {

const QString kConfirmed = QStringLiteral("T");
const QString kNotConfirmed = QStringLiteral("F");

} // namespace

StageOutcome RentalOrder::ConfirmReservation(const OrderForm& form, const QString& payment) {
    return runStage(StageCommand::ConfirmReservation, texts::kReserveFailed, [&](StageOutcome& outcome) {
        const std::optional<text::Decimal> amount = saveAndReadPayment(form, payment, outcome);
        if (!amount)
            return;
        takePayment(QStringLiteral("YYSK"), *amount);
        outcome.paymentText = QString();
        if (!hasCustomerAndLines(form))
            return;
        setFlag(QStringLiteral("YYSH"), kConfirmed);
        stampToday(QStringLiteral("YYSK_RQ"));
        storeStage(form, texts::kReserveFailed, texts::kReserved, outcome);
    });
}

StageOutcome RentalOrder::ConfirmRental(const OrderForm& form, const QString& payment,
                                        const std::function<bool()>& printFirst) {
    return runStage(StageCommand::ConfirmRental, texts::kRentFailed, [&](StageOutcome& outcome) {
        const std::optional<text::Decimal> amount = saveAndReadPayment(form, payment, outcome);
        if (!amount)
            return;
        takePayment(QStringLiteral("SS"), *amount);
        outcome.paymentText = QString();
        // Checked before printing, so a refused confirm prints nothing and says why once.
        if (!hasCustomerAndLines(form))
            return;
        if (printFirst) {
            printingForRentalConfirm_ = true;
            const auto printed = qScopeGuard([this] { printingForRentalConfirm_ = false; });
            if (!printFirst())
                return;
        }
        setFlag(QStringLiteral("SH"), kConfirmed);
        stampToday(QStringLiteral("SS_RQ"));
        storeStage(form, texts::kRentFailed, texts::kRented, outcome);
    });
}

StageOutcome RentalOrder::ConfirmReturn(const OrderForm& form, const QString& payment) {
    return runStage(StageCommand::ConfirmReturn, texts::kReturnFailed, [&](StageOutcome& outcome) {
        const std::optional<text::Decimal> amount = saveAndReadPayment(form, payment, outcome);
        if (!amount)
            return;
        takePayment(QStringLiteral("QXSK"), *amount);
        outcome.paymentText = QString();
        setFlag(QStringLiteral("QX"), kConfirmed);
        stampToday(QStringLiteral("QXSK_RQ"));
        storeStage(form, texts::kReturnFailed, texts::kReturned, outcome);
    });
}

StageOutcome RentalOrder::CancelReservation(const OrderForm& form) {
    return runStage(StageCommand::CancelReservation, texts::kReservationCancelFailed, [&](StageOutcome& outcome) {
        if (!bc(form.orderNumber, form.handler))
            return;
        setFlag(QStringLiteral("YYSH"), kNotConfirmed);
        stampToday(QStringLiteral("YYSK_RQ"));
        outcome.paymentText = takePaymentBack(QStringLiteral("YYSK")).toString();
        storeStage(form, texts::kReservationCancelFailed, texts::kReservationCancelled, outcome);
    });
}

StageOutcome RentalOrder::CancelRental(const OrderForm& form) {
    return runStage(StageCommand::CancelRental, texts::kRentalCancelFailed, [&](StageOutcome& outcome) {
        setFlag(QStringLiteral("SH"), kNotConfirmed);
        outcome.paymentText = takePaymentBack(QStringLiteral("SS")).toString();
        storeStage(form, texts::kRentalCancelFailed, texts::kRentalCancelled, outcome);
    });
}

StageOutcome RentalOrder::CancelReturn(const OrderForm& form) {
    return runStage(StageCommand::CancelReturn, texts::kReturnCancelFailed, [&](StageOutcome& outcome) {
        setFlag(QStringLiteral("QX"), kNotConfirmed);
        outcome.paymentText = takePaymentBack(QStringLiteral("QXSK")).toString();
        storeStage(form, texts::kReturnCancelFailed, texts::kReturnCancelled, outcome);
    });
}

// --- common steps

StageOutcome RentalOrder::runStage(StageCommand command, const QString& failure,
                                   const std::function<void(StageOutcome&)>& steps) {
    StageOutcome outcome;
    if (!isOpen() || !isCommandEnabled(command))
        return outcome;
    try {
        steps(outcome);
    } catch (const sql::Error&) {
        inform(failure);
    }
    return outcome;
}

// The first steps of every confirm: an empty payment counts as 0, the order is saved,
// and the payment must be a number.
std::optional<text::Decimal> RentalOrder::saveAndReadPayment(const OrderForm& form, const QString& payment,
                                                             StageOutcome& outcome) {
    const QString paymentText = payment.isEmpty() ? QStringLiteral("0") : payment;
    outcome.paymentText = paymentText;
    if (!bc(form.orderNumber, form.handler))
        return std::nullopt;
    const std::optional<text::Decimal> amount = text::Decimal::parse(paymentText);
    if (!amount)
        inform(texts::kPaymentNotANumber.arg(paymentText));
    return amount;
}

bool RentalOrder::hasCustomerAndLines(const OrderForm& form) const {
    if (form.customerName.isEmpty()) {
        inform(texts::kEnterCustomer);
        return false;
    }
    if (form.lineCount < 1) {
        inform(texts::kChooseProducts);
        return false;
    }
    return true;
}

// A confirm replaces its stage's payment; received and unpaid follow.
void RentalOrder::takePayment(const QString& column, text::Decimal amount) {
    Query_ZB.edit();
    Query_ZB.field(column).setValue(amount);
    auto money = [&](const char* name) { return Query_ZB.field(QLatin1String(name)).asDecimal(); };
    const text::Decimal received = money("YYSK") + money("SS") + money("QXSK");
    Query_ZB.field(QStringLiteral("SSJE")).setValue(received);
    Query_ZB.field(QStringLiteral("WFJE")).setValue(money("YS") - received);
}

// A cancel takes its stage's payment back out of what was received.
text::Decimal RentalOrder::takePaymentBack(const QString& column) {
    Query_ZB.edit();
    const text::Decimal amount = Query_ZB.field(column).asDecimal();
    Query_ZB.field(column).setValue(text::Decimal());
    const text::Decimal received = Query_ZB.field(QStringLiteral("SSJE")).asDecimal() - amount;
    Query_ZB.field(QStringLiteral("SSJE")).setValue(received);
    Query_ZB.field(QStringLiteral("WFJE")).setValue(Query_ZB.field(QStringLiteral("YS")).asDecimal() - received);
    return amount;
}

void RentalOrder::setFlag(const QString& flagColumn, const QString& flag) {
    Query_ZB.edit();
    Query_ZB.field(flagColumn).setValue(flag);
}

void RentalOrder::stampToday(const QString& dateColumn) {
    Query_ZB.edit();
    Query_ZB.field(dateColumn).setValue(today_());
}

// Stores the order with its new stage, payment and date, and moves the stock, all in
// one transaction; a failed stock statement is the command's failure.
void RentalOrder::storeStage(const OrderForm& form, const QString& failure, const QString& success,
                             StageOutcome& outcome) {
    if (!save(form.orderNumber, form.handler, failure))
        return;
    outcome.done = true;
    RefreshStageButtons(form.orderNumber);
    notify(success);
}

} // namespace orders
