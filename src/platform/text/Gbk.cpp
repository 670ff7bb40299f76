#include "text/Gbk.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>
#include <string>

namespace text {

namespace {

// One iconv conversion direction, opened once per thread and reset before each use.
class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from))
    {
        if (handle_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    enum class Stop { Done, InvalidInput, IncompleteInput };

    // Converts as much of [in, in + inLeft) as it can, appending to out; advances in.
    Stop convert(const char*& in, size_t& inLeft, QByteArray& out)
    {
        char buffer[4096];
        while (inLeft > 0) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t result = iconv(handle_, const_cast<char**>(&in), &inLeft, &outPtr, &outLeft);
            out.append(buffer, outPtr - buffer);
            if (result != static_cast<size_t>(-1))
                continue;
            if (errno == E2BIG)
                continue;
            return errno == EINVAL ? Stop::IncompleteInput : Stop::InvalidInput;
        }
        return Stop::Done;
    }

    void reset() { iconv(handle_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t handle_;
};

Converter& utf8ToGbk()
{
    thread_local Converter converter("GBK", "UTF-8");
    converter.reset();
    return converter;
}

Converter& gbkToUtf8()
{
    thread_local Converter converter("UTF-8", "GBK");
    converter.reset();
    return converter;
}

// Length of the UTF-8 sequence that starts with this byte (1 for a stray byte).
int utf8SequenceLength(unsigned char lead)
{
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

bool isGbkLead(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
bool isGbkTrail(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

QByteArray utf8ToGbkBytes(const QByteArray& utf8)
{
    QByteArray gbk;
    gbk.reserve(utf8.size());
    Converter& converter = utf8ToGbk();
    const char* in = utf8.constData();
    size_t inLeft = size_t(utf8.size());
    while (converter.convert(in, inLeft, gbk) != Converter::Stop::Done) {
        // A character GBK lacks: skip it whole.
        const size_t skip = std::min(size_t(utf8SequenceLength(static_cast<unsigned char>(*in))), inLeft);
        in += skip;
        inLeft -= skip;
    }
    return gbk;
}

// GBK width of one character (given as its UTF-16 units): 1 for ASCII, else its byte
// count in GBK, 0 when GBK lacks it.
int characterWidth(QStringView character)
{
    if (character.size() == 1 && character.front().unicode() < 0x80)
        return 1;
    return int(utf8ToGbkBytes(character.toUtf8()).size());
}

} // namespace

QByteArray toGbk(const QString& text)
{
    return utf8ToGbkBytes(text.toUtf8());
}

QString fromGbk(const QByteArray& bytes)
{
    static const QByteArray replacement = QString(QChar::ReplacementCharacter).toUtf8();
    QByteArray utf8;
    utf8.reserve(bytes.size() * 3 / 2);
    Converter& converter = gbkToUtf8();
    const char* in = bytes.constData();
    size_t inLeft = size_t(bytes.size());
    for (;;) {
        const Converter::Stop stop = converter.convert(in, inLeft, utf8);
        if (stop == Converter::Stop::Done)
            break;
        utf8 += replacement;
        if (stop == Converter::Stop::IncompleteInput)
            break;
        // A well-formed but unassigned pair is one bad character; otherwise one bad byte.
        const auto lead = static_cast<unsigned char>(in[0]);
        const bool pair = inLeft >= 2 && isGbkLead(lead) && isGbkTrail(static_cast<unsigned char>(in[1]));
        const size_t skip = pair ? 2 : 1;
        in += skip;
        inLeft -= skip;
    }
    return QString::fromUtf8(utf8);
}

int gbkByteLength(const QString& text)
{
    return int(toGbk(text).size());
}

QString cutToGbkWidth(const QString& text, int maxBytes)
{
    int width = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype units = text[end].isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
        const int next = width + characterWidth(QStringView(text).mid(end, units));
        if (next > maxBytes)
            break;
        width = next;
        end += units;
    }
    return text.left(end);
}

} // namespace text
