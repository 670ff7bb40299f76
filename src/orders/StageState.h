#pragma once

#include <QString>
#include <array>

namespace orders {

// Where an order stands, derived from its stored flags YYSH, SH and QX.
enum class Stage { NoOrder, Entered, Reserved, Rented, Returned };

// The six stage commands, in the order of the window's buttons.
enum class StageCommand {
    ConfirmReservation,  // 预约审核
    CancelReservation,   // 取消预约
    ConfirmRental,       // 出租审核
    CancelRental,        // 取消出租
    ConfirmReturn,       // 归还审核
    CancelReturn,        // 取消归还
};
inline constexpr int kStageCommandCount = 6;

// What a refresh does to one control: switch it off, on, or leave it as it is.
enum class Switch { Off, On, Unchanged };

// What the order window does with its six stage buttons, its line grid and its
// customer-name box after each load and each stage command.
struct StageControls {
    Stage stage = Stage::NoOrder;
    std::array<Switch, kStageCommandCount> commands{Switch::Off, Switch::Off, Switch::Off,
                                                    Switch::Off, Switch::Off, Switch::Off};
    Switch lineGrid = Switch::Unchanged;
    Switch customerName = Switch::Unchanged;

    Switch command(StageCommand which) const { return commands[static_cast<int>(which)]; }
};

// The controls for an order with these stored flags; a null flag is given as "F".
// Only "F" counts as not confirmed for SH and QX; for YYSH, "T" and "F" decide the
// reservation commands and any other text leaves them as they are.
StageControls stageControlsFor(const QString& yysh, const QString& sh, const QString& qx);

// The controls before any order is open: the six commands off, the rest unchanged.
StageControls noOrderControls();

// Whether an order's items are out: rented and not yet returned. Null flags as "F".
bool itemsAreOut(const QString& sh, const QString& qx);

// The stock statement that goes with storing a change of the flags from the stored ones
// to the new ones (null flags given as "F"), without the order number that follows it;
// empty when the items stay where they are. Out: the rental confirm's statement, or the
// return cancel's when the order was returned; in: the return confirm's statement when
// the order is now returned, else the rental cancel's.
QString stockStatementFor(const QString& storedSh, const QString& storedQx, const QString& sh, const QString& qx);

} // namespace orders
