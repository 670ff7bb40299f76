#include "orders/StageState.h"

#include "orders/OrderTexts.h"

namespace orders {

namespace {

const QString kConfirmed = QStringLiteral("T");
const QString kNotConfirmed = QStringLiteral("F");

Switch onOff(bool on) {
    return on ? Switch::On : Switch::Off;
}

} // namespace

StageControls stageControlsFor(const QString& yysh, const QString& sh, const QString& qx) {
    StageControls controls;
    auto set = [&](StageCommand command, Switch value) { controls.commands[static_cast<int>(command)] = value; };
    if (sh == kNotConfirmed) {
        const bool reserved = yysh == kConfirmed;
        const bool decided = reserved || yysh == kNotConfirmed;
        controls.stage = reserved ? Stage::Reserved : Stage::Entered;
        set(StageCommand::ConfirmReservation, decided ? onOff(!reserved) : Switch::Unchanged);
        set(StageCommand::CancelReservation, decided ? onOff(reserved) : Switch::Unchanged);
        set(StageCommand::ConfirmRental, Switch::On);
        set(StageCommand::CancelRental, Switch::Off);
        set(StageCommand::ConfirmReturn, Switch::Off);
        set(StageCommand::CancelReturn, Switch::Off);
        controls.lineGrid = Switch::On;
        controls.customerName = Switch::Unchanged;
        return controls;
    }
    const bool returned = qx != kNotConfirmed;
    controls.stage = returned ? Stage::Returned : Stage::Rented;
    set(StageCommand::ConfirmReservation, Switch::Off);
    set(StageCommand::CancelReservation, Switch::Off);
    set(StageCommand::ConfirmRental, Switch::Off);
    set(StageCommand::CancelRental, onOff(!returned));
    set(StageCommand::ConfirmReturn, onOff(!returned));
    set(StageCommand::CancelReturn, onOff(returned));
    controls.lineGrid = Switch::Off;
    controls.customerName = Switch::Off;
    return controls;
}

StageControls noOrderControls() {
    return StageControls{};
}

bool itemsAreOut(const QString& sh, const QString& qx) {
    return sh != kNotConfirmed && qx == kNotConfirmed;
}

QString stockStatementFor(const QString& storedSh, const QString& storedQx, const QString& sh, const QString& qx) {
    const bool wereOut = itemsAreOut(storedSh, storedQx);
    const bool areOut = itemsAreOut(sh, qx);
    if (wereOut == areOut)
        return QString();
    if (areOut)
        return storedQx != kNotConfirmed ? texts::kCancelReturnStock : texts::kConfirmRentalStock;
    return qx != kNotConfirmed ? texts::kConfirmReturnStock : texts::kCancelRentalStock;
}

} // namespace orders
