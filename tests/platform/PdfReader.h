#pragma once

// Reads back a PDF for the print tests through the poppler tools: page count and size
// (pdfinfo), the text of a page (pdftotext -layout) and the boxes of its words
// (pdftotext -bbox).
//
// Qt's PDF writer names each glyph by the lowest code point the font maps to it, so an
// ideograph that shares its glyph with a radical comes back as the radical (页 as ⻚,
// 金 as ⾦). The reader maps such radicals back to the ideograph of the same glyph in the
// print fonts, so tests compare the texts that were printed.

#include <QFont>
#include <QHash>
#include <QList>
#include <QRawFont>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

class PdfReader {
public:
    struct Word {
        QString text;
        QRectF box;  // in points from the page's top left
    };

    explicit PdfReader(const QString& path) : path_(path), info_(run("pdfinfo", {path})) {}

    int pageCount() const { return infoField(QStringLiteral("Pages")).toInt(); }
    // "595 x 842" for a portrait A4 page (points, rounded).
    QString pageSize() const {
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("([\\d.]+) x ([\\d.]+) pts")).match(infoField(QStringLiteral("Page size")));
        return QStringLiteral("%1 x %2").arg(qRound(m.captured(1).toDouble())).arg(qRound(m.captured(2).toDouble()));
    }
    double pageWidth() const { return pageSize().section(' ', 0, 0).toDouble(); }
    // The text of a 1-based page, laid out as on the page.
    QString text(int page) const {
        return ideographs(
            run("pdftotext", {"-layout", "-f", QString::number(page), "-l", QString::number(page), path_, "-"}));
    }
    QList<Word> words(int page) const {
        const QString html =
            run("pdftotext", {"-bbox", "-f", QString::number(page), "-l", QString::number(page), path_, "-"});
        static const QRegularExpression word(QStringLiteral(
            "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
        QList<Word> words;
        for (auto it = word.globalMatch(html); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
            const QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
            words.append({ideographs(m.captured(5)), QRectF(topLeft, bottomRight)});
        }
        return words;
    }
    QRectF wordBox(int page, const QString& text) const {
        for (const Word& w : words(page))
            if (w.text == text)
                return w.box;
        return {};
    }

private:
    static QString ideographs(QString text) {
        static const QHash<QChar, QChar> ideographOfRadical = radicalsSharingGlyphs();
        for (QChar& c : text)
            c = ideographOfRadical.value(c, c);
        return text;
    }

    // Radicals (U+2E80..U+2FDF) whose glyph in a print font is also a unified ideograph's.
    static QHash<QChar, QChar> radicalsSharingGlyphs() {
        QString radicals, unified;
        for (char16_t c = 0x2E80; c <= 0x2FDF; ++c)
            radicals += QChar(c);
        for (char16_t c = 0x4E00; c <= 0x9FFF; ++c)
            unified += QChar(c);
        QHash<QChar, QChar> result;
        for (const char* family : {"Noto Serif CJK SC", "Noto Sans CJK SC"}) {
            const QRawFont font = QRawFont::fromFont(QFont(QString::fromLatin1(family)));
            const QList<quint32> radicalGlyphs = font.glyphIndexesForString(radicals);
            const QList<quint32> unifiedGlyphs = font.glyphIndexesForString(unified);
            QHash<quint32, QChar> ideographOfGlyph;
            for (qsizetype i = unifiedGlyphs.size() - 1; i >= 0; --i)
                ideographOfGlyph[unifiedGlyphs[i]] = unified[i];
            for (qsizetype i = 0; i < radicalGlyphs.size(); ++i)
                if (radicalGlyphs[i] != 0 && ideographOfGlyph.contains(radicalGlyphs[i]))
                    result.insert(radicals[i], ideographOfGlyph[radicalGlyphs[i]]);
        }
        return result;
    }

    static QString run(const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished(60000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    QString infoField(const QString& name) const {
        const QRegularExpression field(QStringLiteral("^%1:\\s*(.*)$").arg(name), QRegularExpression::MultilineOption);
        return field.match(info_).captured(1).trimmed();
    }

    QString path_;
    QString info_;
};
