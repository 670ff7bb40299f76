// The lines of the current rental order: products entered by code, rent totals,
// dates, discounts and the order's sums.

#include "orders/RentalOrder.h"

#include "orders/OrderArithmetic.h"
#include "orders/OrderTexts.h"
#include "orders/UnsavedChanges.h"
#include "shell/DataModule.h"
#include "sql/Dialect.h"

namespace orders {

namespace {

bool isColumn(const dataset::Field& field, const char* name) {
    return field.name().compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

// The product with exactly this code, read into a dataset of its own.
void lookUpProduct(dataset::Dataset& product, sql::Connection& connection, const QString& code) {
    product.setConnection(&connection);
    product.setCommandText(QStringLiteral("select * from bm_sp where ( bm =") + sql::quoted(code) + QLatin1Char(')'));
    product.open();
}

} // namespace

void RentalOrder::installEvents() {
    auto markUnsaved = [](dataset::Dataset&) {
        UnsavedChanges = true;
        return true;
    };
    Query_ZB.events().beforeEdit = markUnsaved;
    dataset::Dataset::Events& lines = Query_MX.events();
    lines.beforeEdit = markUnsaved;
    lines.beforeInsert = [this](dataset::Dataset&) { return allowLineCountChange(); };
    lines.beforeDelete = [this](dataset::Dataset&) { return allowLineCountChange(); };
    lines.afterPost = [this](dataset::Dataset&) { addUpOrder(); };
    lines.fieldChanged = [this](dataset::Field field) { lineFieldChanged(field); };
}

// Items of a rented or returned order moved with its stock statement; a line added or
// removed now would move stock that never went out, or never come back.
bool RentalOrder::allowLineCountChange() const {
    if (controls_.stage != Stage::Rented && controls_.stage != Stage::Returned)
        return true;
    inform(texts::kLinesLocked);
    return false;
}

void RentalOrder::lineFieldChanged(const dataset::Field& field) {
    if (isColumn(field, "SPBM"))
        productCodeEntered();
    else if (isColumn(field, "SL") || isColumn(field, "TS"))
        recomputeLineRent();
}

void RentalOrder::productCodeEntered() {
    try {
        dataset::Dataset product;
        lookUpProduct(product, dm_.ADOConnection1, Query_MX.field(QStringLiteral("SPBM")).asString());
        const std::optional<text::Decimal> days = orderDays();
        if (product.isEmpty() || !days) {
            rejectProductCode();
            return;
        }
        Query_MX.field(QStringLiteral("SPMC")).setValue(product.field(QStringLiteral("MC")).value());
        for (const char* copied : {"DW", "CBJ", "YJ", "ZJ", "KCSL"})
            Query_MX.field(QLatin1String(copied)).setValue(product.field(QLatin1String(copied)).value());
        Query_MX.field(QStringLiteral("ID")).setValue(number_);
        Query_MX.field(QStringLiteral("SL")).setValue(text::Decimal::fromInt(1));
        Query_MX.field(QStringLiteral("ZZJ")).setValue(Query_MX.field(QStringLiteral("ZJ")).asDecimal() * *days);
        Query_MX.field(QStringLiteral("TS")).setValue(*days);
    } catch (const sql::Error&) {
        rejectProductCode();
    }
}

void RentalOrder::rejectProductCode() {
    inform(texts::kCodeUnknown);
    Query_MX.deleteRecord();
}

void RentalOrder::recomputeLineRent() {
    auto value = [&](const char* name) { return Query_MX.field(QLatin1String(name)).asDecimal(); };
    Query_MX.field(QStringLiteral("ZZJ")).setValue(lineRent(value("SL"), value("ZJ"), value("TS")));
}

// The order's deposit and rent are the sums over its lines; run whenever a line is stored.
void RentalOrder::addUpOrder() {
    if (!isOpen())
        return;
    text::Decimal deposits;
    text::Decimal rents;
    for (int row = 0; row < Query_MX.recordCount(); ++row) {
        const dataset::Record line = Query_MX.record(row);
        deposits += line.decimal(QStringLiteral("YJ"));
        rents += line.decimal(QStringLiteral("ZZJ"));
    }
    Query_ZB.edit();
    Query_ZB.field(QStringLiteral("YSYJ")).setValue(deposits);
    Query_ZB.field(QStringLiteral("YSZJ")).setValue(rents);
    Query_ZB.field(QStringLiteral("YS")).setValue(deposits + rents);
}

std::optional<text::Decimal> RentalOrder::orderDays() {
    if (!isOpen())
        return std::nullopt;
    const QDate rentalDate = Query_ZB.field(QStringLiteral("ZJRQ")).asDate();
    const QDate returnDate = Query_ZB.field(QStringLiteral("GHRQ")).asDate();
    if (!rentalDate.isValid() || !returnDate.isValid())
        return std::nullopt;
    return rentalDays(rentalDate, returnDate);
}

// --- adding lines

bool RentalOrder::AddProductLine(const QString& code) {
    try {
        return appendProductLine(code);
    } catch (const sql::Error&) {
        dropNewLine();
        inform(texts::kQuickSelectionFailed);
        return false;
    }
}

void RentalOrder::dropNewLine() {
    if (Query_MX.isOpen() && Query_MX.state() == dataset::Dataset::State::Insert)
        Query_MX.cancel();
}

// Throws sql::Error when a lookup or the line's post fails; false when the line was
// refused or the code is unknown (both told to the operator).
bool RentalOrder::appendProductLine(const QString& code) {
    if (!isOpen() || !Query_MX.append())
        return false;
    Query_MX.field(QStringLiteral("ID")).setValue(number_);
    Query_MX.field(QStringLiteral("SPBM")).setValue(code);  // copies the product, or drops the line
    if (Query_MX.state() != dataset::Dataset::State::Insert)
        return false;
    dataset::Dataset product;
    lookUpProduct(product, dm_.ADOConnection1, code);
    Query_MX.field(QStringLiteral("TXM")).setValue(product.field(QStringLiteral("TXM")).value());
    // A product without price, deposit or rent gives 0 on the line.
    for (const char* money : {"CBJ", "YJ", "ZJ"})
        Query_MX.field(QLatin1String(money)).setValue(product.field(QLatin1String(money)).asDecimal());
    return Query_MX.post();
}

QuickSelectResult RentalOrder::QuickSelect(const QString& text) {
    if (!isOpen())
        return {QuickSelection::Refused, {}};
    const QString containing = sql::quoted(QLatin1Char('%') + text + QLatin1Char('%'));
    const QString matching = QStringLiteral("( jp like %1 or bm like %2 or txm like %1 )")
                                 .arg(containing, sql::quoted(text));
    const QString listStatement = QStringLiteral("select * from bm_sp where ") + matching;
    try {
        const int count = dm_.ADOConnection1.scalar(QStringLiteral("select count(BM) as cts from bm_sp where ") + matching)
                              .toInt();
        if (count == 0) {
            inform(texts::kProductUnknown);
            return {QuickSelection::NotFound, {}};
        }
        if (count > 1)
            return {QuickSelection::Several, listStatement};
        dataset::Dataset product;
        product.setConnection(&dm_.ADOConnection1);
        product.setCommandText(listStatement);
        product.open();
        const bool added = appendProductLine(product.field(QStringLiteral("BM")).asString());
        return {added ? QuickSelection::Added : QuickSelection::Refused, {}};
    } catch (const sql::Error&) {
        dropNewLine();
        inform(texts::kQuickSelectionFailed);
        return {QuickSelection::Failed, {}};
    }
}

// --- whole-order changes

bool RentalOrder::RecomputeDays() {
    if (!isOpen())
        return false;
    const std::optional<text::Decimal> days = orderDays();
    if (!days) {
        inform(texts::kDatesMissing);
        return false;
    }
    try {
        dataset::ControlsDisabled quiet(Query_MX);
        for (Query_MX.first(); !Query_MX.eof(); Query_MX.next()) {
            Query_MX.edit();
            Query_MX.field(QStringLiteral("TS")).setValue(*days);  // the rent total follows
        }
    } catch (const sql::Error& error) {
        inform(error.message());
        return false;
    }
    return true;
}

bool RentalOrder::ApplyDiscount(const QString& choice) {
    if (!isOpen() || !isDiscountChoice(choice))
        return false;
    const std::optional<text::Decimal> factor = discountFactor(choice);
    auto value = [&](const char* name) { return Query_MX.field(QLatin1String(name)).asDecimal(); };
    try {
        dataset::ControlsDisabled quiet(Query_MX);
        for (Query_MX.first(); !Query_MX.eof(); Query_MX.next()) {
            Query_MX.edit();
            // A factor applies to the current total, so discounts compound; no discount
            // goes back to the undiscounted rent.
            const text::Decimal total = factor ? value("ZZJ") * *factor : lineRent(value("SL"), value("ZJ"), value("TS"));
            Query_MX.field(QStringLiteral("ZZJ")).setValue(total);
        }
    } catch (const sql::Error& error) {
        inform(error.message());
        return false;
    }
    return true;
}

} // namespace orders
