#include "masterdata/Pinyin.h"

#include "shell/DataModule.h"
#include "sql/Dialect.h"
#include "text/Gbk.h"

#include <array>

namespace masterdata {
namespace {

struct LetterRange {
    int last;  // each range starts one above the end of the range before it
    char letter;
};

constexpr int kFirstLevel1Code = 0xB0A1;
constexpr std::array<LetterRange, 23> kLevel1Ranges = {{
    {0xB0C4, 'A'}, {0xB2C0, 'B'}, {0xB4ED, 'C'}, {0xB6E9, 'D'}, {0xB7A1, 'E'}, {0xB8C0, 'F'},
    {0xB9FD, 'G'}, {0xBBF6, 'H'}, {0xBFA5, 'J'}, {0xC0AB, 'K'}, {0xC2E7, 'L'}, {0xC4C2, 'M'},
    {0xC5B5, 'N'}, {0xC5BD, 'O'}, {0xC6D9, 'P'}, {0xC8BA, 'Q'}, {0xC8F5, 'R'}, {0xCBF9, 'S'},
    {0xCDD9, 'T'}, {0xCEF3, 'W'}, {0xD1B8, 'X'}, {0xD4D0, 'Y'}, {0xD7F9, 'Z'},
}};

int characterCode(const QByteArray& character) {
    const auto byteAt = [&](int i) { return i < character.size() ? int(quint8(character.at(i))) : 0; };
    return byteAt(0) * 256 + byteAt(1);
}

// A byte pair that decodes to no single character (a lone lead byte, a NUL) cannot
// be a row of BM_JP, which holds characters; such pairs are not looked up.
bool isOneCharacter(const QString& text) {
    return text.size() == 1 && text.at(0) != QChar(0) && text.at(0) != QChar::ReplacementCharacter;
}

char lookedUpInitial(shell::TDM_CS& dm, const QByteArray& character) {
    const QString text = text::fromGbk(character.left(2));
    if (!isOneCharacter(text))
        return 0;
    dataset::Dataset& query = dm.SQL_3;
    query.close();
    query.setCommandText(QStringLiteral("select jp from BM_JP where mc=") + sql::quoted(text));
    query.open();
    if (query.isEmpty())
        return 0;
    const QByteArray initials = text::toGbk(query.field(0).asString());
    return initials.isEmpty() ? 0 : initials.at(0);
}

} // namespace

char initialOfLevel1Code(int code) {
    if (code < kFirstLevel1Code)
        return 0;
    for (const LetterRange& range : kLevel1Ranges)
        if (code <= range.last)
            return range.letter;
    return 0;
}

char PinyinInitialOf(shell::TDM_CS& dm, const QByteArray& character) {
    if (const char letter = initialOfLevel1Code(characterCode(character)))
        return letter;
    return lookedUpInitial(dm, character);
}

QByteArray PinyinInitialsOfGbk(shell::TDM_CS& dm, const QByteArray& gbkText) {
    QByteArray initials;
    initials.reserve(gbkText.size());
    qsizetype position = 0;
    while (position < gbkText.size()) {
        const quint8 byte = quint8(gbkText.at(position));
        if (byte >= 1 && byte <= 127) {
            initials.append(char(byte));
            ++position;
            continue;
        }
        QByteArray character = gbkText.mid(position, 2);
        if (character.size() < 2)
            character.append('\0');
        if (const char letter = PinyinInitialOf(dm, character))
            initials.append(letter);
        position += 2;
    }
    return initials;
}

QString PinyinInitials(shell::TDM_CS& dm, const QString& text) {
    return text::fromGbk(PinyinInitialsOfGbk(dm, text::toGbk(text)));
}

} // namespace masterdata
