#pragma once

#include <QByteArray>
#include <QString>

// The GBK code page (CP936) through glibc iconv: program text, templates and
// printer output are GBK.
namespace text {

// Characters GBK cannot encode are left out (they leave no trace).
QByteArray toGbk(const QString& text);
// Invalid byte sequences become U+FFFD.
QString fromGbk(const QByteArray& bytes);
// Width in GBK bytes: 1 per ASCII character, 2 per Chinese character.
int gbkByteLength(const QString& text);
// The longest prefix whose GBK width is at most maxBytes, never splitting a character.
QString cutToGbkWidth(const QString& text, int maxBytes);

} // namespace text
