#pragma once

#include "orders/StageState.h"

#include <QChar>
#include <QString>
#include <QStringList>

class QWidget;

namespace dataset {
class Dataset;
}
namespace sql {
class Connection;
}

// What the rental order window needs besides the order itself: finding products for
// the quick-selection box, the handler list, the picture of a line's product, the
// payment box's key rule and the product a picker writes into the current line.
namespace orders {

class RentalOrder;

// The products the quick-selection box finds for a typed text: pinyin initials or
// barcode containing it, or a code equal to it, all without regard to case. The text
// is taken literally: quotes, "%" and "_" are plain characters.
struct QuickMatches {
    int count = 0;
    QString firstCode;      // the code of the one product when count is 1
    QString listStatement;  // the statement of the products found, for the quick list
};
// Throws sql::Error.
QuickMatches findQuickMatches(sql::Connection& connection, const QString& typed);

// Whether the lines of an order in this state may no longer change: its items went
// out with the rental, and another line would move stock that never went out.
bool linesLocked(const StageControls& controls);

// The product a picker chose becomes the product of the current line (the first line
// of an order without lines), which is then stored into the order. Refused with the
// operator told while the lines are locked. False when no line took the product.
bool pickIntoCurrentLine(RentalOrder& order, const QString& code, QWidget* dialogParent);

// The handler list: the name of every employee, in the order the rows come.
// Throws sql::Error.
QStringList employeeNames(sql::Connection& connection);
// The name of the employee with this login name; empty when there is none.
// Throws sql::Error.
QString employeeNameForLogin(sql::Connection& connection, const QString& login);

// The picture file of a product, read on the scratch query: empty when the product
// has none or the file is not there. Throws sql::Error.
QString productPicture(dataset::Dataset& scratch, const QString& code);

// The payment box takes digits, "-", "." and the Backspace and Enter keys only.
bool isPaymentKey(QChar key);
// An empty payment box reads "0" once it is left.
QString paymentTextOnLeaving(const QString& text);

} // namespace orders
