#pragma once

#include <QByteArray>
#include <QString>

namespace shell {
class TDM_CS;
}

// Simple-pinyin codes (简拼): one capital letter per Chinese character, the first
// letter of its pinyin, with the ASCII characters of the text copied as they are.
// Text is handled as GBK bytes.
namespace masterdata {

// The letter of a character code (lead byte * 256 + second byte) inside the fixed
// ranges of the GB2312 level-1 characters, which are ordered by pinyin; 0 outside them.
char initialOfLevel1Code(int code);

// The initial letter of one GBK character, read from the first two bytes of its
// argument (a missing byte counts as 0), or 0 when it has none. Codes outside the
// level-1 ranges are looked up in BM_JP through the data module's scratch query SQL_3,
// once per call: SQL_3 does not keep an earlier result across a call. Database errors
// of the lookup reach the caller as sql::Error.
char PinyinInitialOf(shell::TDM_CS& dm, const QByteArray& character);

// The initials of a GBK text: ASCII bytes copied unchanged, every other byte taken
// with the byte after it (0 after a last lone lead byte) as one character whose
// letter, if any, is appended.
QByteArray PinyinInitialsOfGbk(shell::TDM_CS& dm, const QByteArray& gbkText);

// The initials of a product name; characters GBK cannot encode leave no trace.
QString PinyinInitials(shell::TDM_CS& dm, const QString& text);

} // namespace masterdata
