#pragma once

#include "dataset/Dataset.h"
#include "orders/StageState.h"
#include "text/Decimal.h"

#include <QDate>
#include <QString>
#include <array>
#include <functional>
#include <optional>

class QWidget;

namespace shell {
class TDM_CS;
}

namespace orders {

// What the order window's controls hold when it runs an order command.
struct OrderForm {
    QString orderNumber;   // the order-number box Edit_id
    QString handler;       // the handler box JBR
    QString customerName;  // the customer-name box KHMC
    int lineCount = 0;     // the lines shown in the grid
};

// What a stage command did.
struct StageOutcome {
    bool done = false;                   // the stage moved and is stored
    std::optional<QString> paymentText;  // the payment box's new text; none: leave it
};

// What the quick selection found for the typed text.
enum class QuickSelection {
    Added,     // one product: added as a new line
    NotFound,  // no product (told to the operator)
    Several,   // two or more: the quick list is to be filled with listStatement
    Refused,   // no order is open, or the order takes no more lines (then told to the operator)
    Failed,    // a lookup failed (told to the operator)
};
struct QuickSelectResult {
    QuickSelection kind = QuickSelection::Failed;
    QString listStatement;  // for Several: the statement of the products that match
};

// The rental order being worked on, and every rule of it: numbering, loading, the
// save with its stock check, the three stages with their money and stock movements,
// deletion and the order arithmetic. The order window binds its grid and edit boxes
// to Query_ZB (the header) and Query_MX (the lines) and calls the commands below with
// the texts of its boxes; the commands show their own messages through ui::dialogs().
//
// Both datasets hold their changes in memory (batch mode) until a save writes them
// in one transaction. The object owns these dataset events and the window must not
// replace them: Query_ZB beforeEdit; Query_MX beforeEdit, beforeInsert, beforeDelete,
// afterPost and fieldChanged. Setting a line's SPBM copies the product into the line,
// setting SL or TS recomputes its rent total, and storing a line adds up the order.
class RentalOrder {
public:
    using Clock = std::function<QDate()>;

    explicit RentalOrder(shell::TDM_CS& dm, Clock today = &QDate::currentDate);
    RentalOrder(const RentalOrder&) = delete;
    RentalOrder& operator=(const RentalOrder&) = delete;

    dataset::Dataset Query_ZB;  // the order header, one row of XSD_ZB
    dataset::Dataset Query_MX;  // the order lines, rows of XSD_MX

    // The window that owns the message boxes.
    void setDialogParent(QWidget* parent) { dialogParent_ = parent; }
    // "Today" for new orders and the stage dates.
    void setClock(Clock today) { today_ = std::move(today); }

    // The number of the open order; empty when none is open.
    const QString& orderNumber() const { return number_; }
    bool isOpen() const { return Query_ZB.isOpen(); }

    // --- numbering, loading, saving

    // A new order number for today and the operator with the stored login name; empty
    // (after a message) when no employee has that login name, when the employee code
    // is not one to three characters, or when the day's numbers are used up.
    std::optional<QString> NewOrderNumber();
    // Loads the order with this number, or begins a new one dated today with return
    // tomorrow when none is stored; an empty number does nothing. Failures leave what
    // was loaded, without a message.
    void OpenOrder(const QString& number);
    // Checks every line's quantity against its stock snapshot, then stores the header
    // (with this number and handler) and the line changes in one transaction, together
    // with the stock movement of a stage change held in memory (one a failed stage
    // command left there): stored stage and stock never part.
    bool bc(const QString& number, const QString& handler);
    // The save button: customer name and lines required, then bc and "保存成功！".
    bool SaveCommand(const OrderForm& form);
    // The save of the closing question: header and lines in one transaction, without
    // the stock check and without a message; false when it failed.
    bool StoreOnClose(const QString& number);
    // What closing would lose: the program-wide mark, or a new order that is not stored
    // yet but already has a customer name or lines (adding records does not set the mark).
    bool hasUnsavedWork() const;
    // The order part of the print command: customer name and lines required, bc, then
    // printDocument (false when it failed and told the operator), then "打印成功".
    // Run by the rental confirm, it prints the order as held in memory and leaves
    // storing it to the confirm, which stores the payment together with the stage.
    bool PrintCommand(const OrderForm& form, const std::function<bool()>& printDocument);

    // --- stages

    // Reads the stored flags of the order and sets the controls from them.
    StageControls RefreshStageButtons(const QString& number);
    const StageControls& stageControls() const { return controls_; }
    // Whether the window's button of the command is on (the Unchanged switches resolved).
    bool isCommandEnabled(StageCommand command) const { return enabled_[static_cast<int>(command)]; }

    // The six stage commands. Each does nothing while its command is off. A stage's
    // payment, flag, date and stock movement are stored in one transaction; after a
    // failure nothing of them is stored and the order in memory keeps them unsaved.
    // printFirst, when given, prints the order before the rental is confirmed; when it
    // returns false (the print failed and told the operator) the rental is not confirmed.
    StageOutcome ConfirmReservation(const OrderForm& form, const QString& payment);
    StageOutcome ConfirmRental(const OrderForm& form, const QString& payment,
                               const std::function<bool()>& printFirst = {});
    StageOutcome ConfirmReturn(const OrderForm& form, const QString& payment);
    StageOutcome CancelReservation(const OrderForm& form);
    StageOutcome CancelRental(const OrderForm& form);
    StageOutcome CancelReturn(const OrderForm& form);

    // Deletes the order's header and lines unless it is rented or returned; no question.
    // True when deleted: the order is then closed and the window empties its number box.
    bool DeleteOrder(const QString& number);

    // --- lines

    // Appends a line for the product with this code (code, barcode, prices and stock
    // copied, quantity 1, days of the order) and stores it into the order.
    bool AddProductLine(const QString& code);
    // The quick selection: products whose pinyin initials or barcode contain the text or
    // whose code equals it.
    QuickSelectResult QuickSelect(const QString& text);
    // After a date box was left: every line gets the days between the rental and the
    // return date, and its rent total with them. False (after a message) when a date is
    // missing.
    bool RecomputeDays();
    // Applies a choice of the discount list to every line; false for an unknown choice.
    bool ApplyDiscount(const QString& choice);

private:
    // message boxes
    void inform(const QString& text) const;    // 提示, information icon
    void notify(const QString& text) const;    // 提示, no icon
    void plainBox(const QString& text) const;  // the application title, no icon

    // saving
    struct StageFlags {
        QString yysh;
        QString sh;
        QString qx;
    };
    bool save(const QString& number, const QString& handler, const QString& stockFailure = {});
    void writeOrder(const QString& number, bool& movingStock);
    StageFlags storedFlags(const QString& number);
    StageFlags flagsInMemory();
    bool linesWithinStock();
    void beginFreshHeader();
    void applyStageControls(const StageControls& controls);

    // stages
    StageOutcome runStage(StageCommand command, const QString& failure,
                          const std::function<void(StageOutcome&)>& steps);
    std::optional<text::Decimal> saveAndReadPayment(const OrderForm& form, const QString& payment,
                                                    StageOutcome& outcome);
    bool hasCustomerAndLines(const OrderForm& form) const;
    void takePayment(const QString& column, text::Decimal amount);
    text::Decimal takePaymentBack(const QString& column);
    void setFlag(const QString& flagColumn, const QString& flag);
    void stampToday(const QString& dateColumn);
    void storeStage(const OrderForm& form, const QString& failure, const QString& success, StageOutcome& outcome);

    // lines
    void installEvents();
    bool allowLineCountChange() const;
    void lineFieldChanged(const dataset::Field& field);
    void productCodeEntered();
    void rejectProductCode();
    void recomputeLineRent();
    void addUpOrder();
    std::optional<text::Decimal> orderDays();
    bool appendProductLine(const QString& code);
    void dropNewLine();

    shell::TDM_CS& dm_;
    Clock today_;
    QWidget* dialogParent_ = nullptr;
    QString number_;
    StageControls controls_ = noOrderControls();
    std::array<bool, kStageCommandCount> enabled_{};
    bool printingForRentalConfirm_ = false;
};

} // namespace orders
