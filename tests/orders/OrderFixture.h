#pragma once

#include "orders/RentalOrder.h"
#include "orders/UnsavedChanges.h"
#include "support/ProgramFixture.h"
#include "support/ScriptedDialogs.h"
#include "text/Decimal.h"

#include <QDate>
#include <QString>
#include <QVariant>

// A fresh account set with two products, the dialog double and the order logic with
// a clock the test sets. Product "01" (礼服) rents for 50 a day against a deposit of 200,
// 10 in stock; product "02" (相机) rents for 30 against 500, 4 in stock.
class OrderFixture {
public:
    static inline const QDate kToday{2026, 12, 11};
    static inline const QString kHandler = QStringLiteral("系统管理员");

    OrderFixture() : order(program.dm(), [this] { return today; }) {
        orders::UnsavedChanges = false;
        program.addProduct(QStringLiteral("01"), QStringLiteral("礼服"), 50, 200, 10);
        program.addProduct(QStringLiteral("02"), QStringLiteral("相机"), 30, 500, 4);
    }

    ProgramFixture program;
    ScriptedDialogs dialogs;
    QDate today = kToday;
    orders::RentalOrder order;

    // Opens a new order with the next number and the customer's name typed in.
    QString openNewOrder(const QString& customer = QStringLiteral("张三")) {
        const QString number = order.NewOrderNumber().value_or(QString());
        order.OpenOrder(number);
        order.Query_ZB.edit();
        order.Query_ZB.field("KHMC").setValue(customer);
        return number;
    }

    // Adds a line of the product and sets its quantity.
    void addLine(const QString& code, double quantity = 1) {
        order.AddProductLine(code);
        order.Query_MX.edit();
        order.Query_MX.field("SL").setValue(text::Decimal::fromDouble(quantity));
        order.Query_MX.post();
    }

    // What the window's boxes hold for the open order.
    orders::OrderForm form() {
        const QString customer = order.isOpen() ? order.Query_ZB.field("KHMC").asString() : QString();
        return {order.orderNumber(), kHandler, customer, order.Query_MX.isOpen() ? order.Query_MX.recordCount() : 0};
    }

    // A stored value as text: "null", money with two places, other values as stored.
    QString stored(const QString& table, const QString& column, const QString& where) {
        const QVariant value = program.scalar(QStringLiteral("select %1 from %2 where %3").arg(column, table, where));
        if (value.isNull())
            return QStringLiteral("null");
        if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::LongLong)
            return text::Decimal::fromDouble(value.toDouble()).toFixed(2);
        return value.toString();
    }
    QString header(const QString& column) {
        return stored(QStringLiteral("xsd_zb"), column, QStringLiteral("id='%1'").arg(order.orderNumber()));
    }
    // "KCSL/JCSL" of a product, e.g. "7.00/3.00".
    QString stock(const QString& code) {
        const QString where = QStringLiteral("bm='%1'").arg(code);
        return stored(QStringLiteral("bm_sp"), QStringLiteral("kcsl"), where) + QLatin1Char('/')
             + stored(QStringLiteral("bm_sp"), QStringLiteral("jcsl"), where);
    }
    int count(const QString& table) {
        return program.scalar(QStringLiteral("select count(*) from %1").arg(table)).toInt();
    }
    // The value held in memory, money with two places.
    QString memory(const QString& column) {
        const dataset::Field field = order.Query_ZB.field(column);
        return field.isNull() ? QStringLiteral("null") : field.column().isNumeric() ? field.asDecimal().toFixed(2)
                                                                                   : field.asString();
    }
};
