// The current rental order: numbering, loading, saving and deletion.

#include "orders/RentalOrder.h"

#include "orders/OrderNumber.h"
#include "orders/OrderTexts.h"
#include "orders/UnsavedChanges.h"
#include "shell/AppInfo.h"
#include "shell/DataModule.h"
#include "sql/Dialect.h"
#include "sql/Query.h"
#include "ui/Dialogs.h"

namespace orders {

namespace {

const QString kNotConfirmed = QStringLiteral("F");

// Runs body inside a transaction of its own: committed when it returns, rolled back
// when it throws (the error goes on to the caller).
template <typename Body>
void inOwnTransaction(sql::Connection& connection, Body body) {
    connection.beginTransaction();
    try {
        body();
        connection.commit();
    } catch (...) {
        if (connection.inTransaction())
            connection.rollback();
        throw;
    }
}

} // namespace

RentalOrder::RentalOrder(shell::TDM_CS& dm, Clock today) : dm_(dm), today_(std::move(today)) {
    for (dataset::Dataset* ds : {&Query_ZB, &Query_MX}) {
        ds->setConnection(&dm_.ADOConnection1);
        ds->setUpdateMode(dataset::Dataset::UpdateMode::Batch);
    }
    installEvents();
}

// --- message boxes

void RentalOrder::inform(const QString& text) const {
    ui::inform(dialogParent_, text);
}

void RentalOrder::notify(const QString& text) const {
    ui::notify(dialogParent_, text);
}

void RentalOrder::plainBox(const QString& text) const {
    ui::notify(dialogParent_, text, shell::kApplicationTitle);
}

// --- numbering

std::optional<QString> RentalOrder::NewOrderNumber() {
    const QString login = dm_.settings().loginUser();
    try {
        sql::Query employee(dm_.ADOConnection1, QStringLiteral("select * from bm_yg where dlmc=") + sql::quoted(login));
        if (!employee.next()) {
            inform(texts::kLoginWithoutEmployee.arg(login));
            return std::nullopt;
        }
        const QString code = employee.value(employee.indexOf(QStringLiteral("BM"))).toString();
        if (code.isEmpty() || code.size() > kMaxEmployeeCodeLength) {
            inform(texts::kEmployeeCodeLength.arg(code));
            return std::nullopt;
        }
        // Only numbers of exactly this prefix and five more characters belong to the
        // employee: with codes of different lengths, "01" must not see the numbers of "011".
        const QString prefix = orderNumberPrefix(today_(), code);
        const QVariant last = dm_.ADOConnection1.scalar(
            QStringLiteral("select max(id) as tid From xsd_zb where id like ")
            + sql::quoted(prefix + QString(kRunningNumberDigits, QLatin1Char('_'))));
        const QString number = nextOrderNumber(last.isNull() ? kNoLastNumber : last.toString(), prefix);
        if (number.isEmpty()) {
            inform(texts::kNumbersUsedUp);
            return std::nullopt;
        }
        return number;
    } catch (const sql::Error& error) {
        inform(error.message());
        return std::nullopt;
    }
}

// --- loading

void RentalOrder::OpenOrder(const QString& number) {
    if (number.isEmpty())
        return;
    number_ = number;
    try {
        Query_MX.setCommandText(QStringLiteral("select * from xsd_mx where id=") + sql::quoted(number));
        Query_MX.open();
        // A product's name and unit are twice as wide as the line's copies: the copy keeps
        // what fits.
        for (const char* copied : {"SPMC", "DW"})
            Query_MX.column(QLatin1String(copied)).setOverlongText(dataset::OverlongText::Cut);
        Query_ZB.setCommandText(QStringLiteral("select * from xsd_zb where id=") + sql::quoted(number));
        Query_ZB.open();
        const bool stored = !Query_ZB.isEmpty();
        Query_ZB.edit();  // an empty header begins a new row
        if (!stored)
            beginFreshHeader();
        RefreshStageButtons(number);
    } catch (const sql::Error&) {
        // A number that cannot be loaded leaves what was read; the window goes on showing it.
        if (!isOpen())
            applyStageControls(noOrderControls());
    }
}

void RentalOrder::beginFreshHeader() {
    const QDate today = today_();
    Query_ZB.field(QStringLiteral("RQ")).setValue(today);
    Query_ZB.field(QStringLiteral("ZJRQ")).setValue(today);
    Query_ZB.field(QStringLiteral("GHRQ")).setValue(today.addDays(1));
    Query_ZB.field(QStringLiteral("SH")).setValue(QStringLiteral("F"));
}

// --- saving

bool RentalOrder::bc(const QString& number, const QString& handler) {
    return save(number, handler);
}

bool RentalOrder::save(const QString& number, const QString& handler, const QString& stockFailure) {
    try {
        if (!linesWithinStock()) {
            plainBox(texts::kStockTooLow);
            return false;
        }
        Query_ZB.edit();
        Query_ZB.field(QStringLiteral("ID")).setValue(number);
        Query_ZB.field(QStringLiteral("JBR")).setValue(handler);
        Query_ZB.post();
    } catch (const sql::Error&) {
        inform(texts::kSaveFailed);
        return false;
    }

    bool movingStock = false;
    try {
        writeOrder(number, movingStock);
    } catch (const sql::Error&) {
        inform(movingStock && !stockFailure.isEmpty() ? stockFailure : texts::kSaveFailed);
        return false;
    }
    return true;
}

// Header, lines and the stock movement that goes with a change of the stage are
// stored together or not at all. The datasets forget their pending changes only after
// the commit, so a failed write leaves them pending in memory, and whichever write
// stores the new stage later moves the stock with it.
void RentalOrder::writeOrder(const QString& number, bool& movingStock) {
    sql::Connection& connection = dm_.ADOConnection1;
    inOwnTransaction(connection, [&] {
        const StageFlags stored = storedFlags(number);
        Query_ZB.writeUpdates();
        Query_MX.writeUpdates();
        const StageFlags now = flagsInMemory();
        const QString statement = stockStatementFor(stored.sh, stored.qx, now.sh, now.qx);
        if (!statement.isEmpty()) {
            movingStock = true;
            connection.execute(statement + sql::quoted(number));
            movingStock = false;
        }
    });
    Query_ZB.commitUpdates();
    Query_MX.commitUpdates();
    UnsavedChanges = false;
}

// Leaves the cursor on the first line whose quantity exceeds its stock snapshot, or
// after the last line.
bool RentalOrder::linesWithinStock() {
    dataset::ControlsDisabled quiet(Query_MX);
    for (Query_MX.first(); !Query_MX.eof(); Query_MX.next()) {
        if (Query_MX.field(QStringLiteral("SL")).asDecimal() > Query_MX.field(QStringLiteral("KCSL")).asDecimal())
            return false;
    }
    return true;
}

bool RentalOrder::SaveCommand(const OrderForm& form) {
    if (form.customerName.isEmpty()) {
        inform(texts::kEnterCustomerName);
        return false;
    }
    if (form.lineCount < 1) {
        inform(texts::kChooseProducts);
        return false;
    }
    if (!bc(form.orderNumber, form.handler))
        return false;
    notify(texts::kSaved);
    return true;
}

bool RentalOrder::hasUnsavedWork() const {
    if (UnsavedChanges)
        return true;
    if (!isOpen())
        return false;
    const bool newHeader = Query_ZB.state() == dataset::Dataset::State::Insert;
    const bool typedCustomer = !Query_ZB.currentRecord().text(QStringLiteral("KHMC")).isEmpty();
    return Query_MX.hasPendingUpdates() || (newHeader && typedCustomer);
}

bool RentalOrder::StoreOnClose(const QString& number) {
    if (!isOpen())
        return false;
    bool movingStock = false;
    try {
        Query_ZB.edit();
        Query_ZB.field(QStringLiteral("ID")).setValue(number);
        writeOrder(number, movingStock);
    } catch (const sql::Error&) {
        return false;  // the window closes all the same, as the operator asked
    }
    return true;
}

bool RentalOrder::PrintCommand(const OrderForm& form, const std::function<bool()>& printDocument) {
    if (!hasCustomerAndLines(form))
        return false;
    if (!printingForRentalConfirm_ && !bc(form.orderNumber, form.handler))
        return false;
    if (!printDocument())
        return false;
    plainBox(texts::kPrinted);
    dm_.ADOTable1.close();  // the company table a template may have opened
    return true;
}

// --- deletion

bool RentalOrder::DeleteOrder(const QString& number) {
    if (!isOpen())
        return false;
    // The stored stage counts too: a rental cancelled in memory but not stored still
    // has its items out.
    const bool itemsOut = Query_ZB.field(QStringLiteral("SH")).asString() == QLatin1String("T")
                       || controls_.stage == Stage::Rented || controls_.stage == Stage::Returned;
    if (itemsOut) {
        plainBox(texts::kCannotDelete);
        return false;
    }
    sql::Connection& connection = dm_.ADOConnection1;
    try {
        inOwnTransaction(connection, [&] {
            connection.execute(QStringLiteral("delete from xsd_zb where id=") + sql::quoted(number));
            connection.execute(QStringLiteral("delete from xsd_mx where id=") + sql::quoted(number));
        });
    } catch (const sql::Error& error) {
        inform(error.message());
        return false;
    }
    notify(texts::kDeleted);
    Query_ZB.close();
    Query_MX.close();
    number_.clear();
    UnsavedChanges = false;  // nothing is left to save
    applyStageControls(noOrderControls());
    return true;
}

// --- stage controls

StageControls RentalOrder::RefreshStageButtons(const QString& number) {
    const StageFlags stored = storedFlags(number);
    applyStageControls(stageControlsFor(stored.yysh, stored.sh, stored.qx));
    return controls_;
}

// The flags as stored; null ones (and those of an order not stored) read as "F" and
// are not written back.
RentalOrder::StageFlags RentalOrder::storedFlags(const QString& number) {
    sql::Query stored(dm_.ADOConnection1, QStringLiteral("select * from xsd_zb where id=") + sql::quoted(number));
    const bool found = stored.next();
    auto flag = [&](const char* column) {
        const QVariant value = found ? stored.value(stored.indexOf(QLatin1String(column))) : QVariant();
        return value.isNull() ? kNotConfirmed : value.toString();
    };
    return {flag("YYSH"), flag("SH"), flag("QX")};
}

RentalOrder::StageFlags RentalOrder::flagsInMemory() {
    auto flag = [&](const char* column) {
        const dataset::Field field = Query_ZB.field(QLatin1String(column));
        return field.isNull() ? kNotConfirmed : field.asString();
    };
    return {flag("YYSH"), flag("SH"), flag("QX")};
}

void RentalOrder::applyStageControls(const StageControls& controls) {
    controls_ = controls;
    for (int i = 0; i < kStageCommandCount; ++i)
        if (controls.commands[i] != Switch::Unchanged)
            enabled_[i] = controls.commands[i] == Switch::On;
}

} // namespace orders
