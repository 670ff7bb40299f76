#pragma once

#include <QDate>
#include <QString>

namespace orders {

// An order number is "yyyymmdd", the employee code of the operator who writes it and
// a five-digit running number that starts at "00001" for every employee and day.
// With a three-character code it is 16 characters, the width of XSD_ZB.ID.
inline constexpr int kRunningNumberDigits = 5;
inline constexpr int kMaxEmployeeCodeLength = 3;
// The last number when there is none: smaller than any prefix.
inline const QString kNoLastNumber = QStringLiteral("19990101");

// The prefix of the numbers an employee writes on a day.
QString orderNumberPrefix(const QDate& day, const QString& employeeCode);

// The number after lastNumber for this prefix: the prefix and "00001" when lastNumber
// lies below the prefix and "00000" (another day or employee, or kNoLastNumber);
// otherwise the prefix and the last five characters of lastNumber plus one, padded to
// five digits. Empty when the running number would pass 99999.
QString nextOrderNumber(const QString& lastNumber, const QString& prefix);

} // namespace orders
