#pragma once

// Reads back the first worksheet of an .xlsx file for the export tests: cells with their
// values, number formats, fonts and borders, merged ranges, column widths and the
// selection. The parts are taken out of the archive with `unzip -p`.

#include <QHash>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

class XlsxReader {
public:
    struct Font {
        QString name;
        double size = 0;
    };
    struct Style {
        QString numberFormat;  // "General" when none
        Font font;
        QStringList borders;   // styles of left, right, top, bottom ("" when none)
        QString horizontal;
        QString vertical;
    };
    struct Cell {
        QString type;   // "s" shared string, "inlineStr", "str", "" number
        QString value;  // the text, or the number as written
        int style = 0;
    };

    explicit XlsxReader(const QString& path) : path_(path) {
        readStyles(part("xl/styles.xml"));
        readSharedStrings(part("xl/sharedStrings.xml", Optional));
        readSheet(part("xl/worksheets/sheet1.xml"));
    }

    bool isValid() const { return valid_; }
    const QStringList& merges() const { return merges_; }
    QString selection() const { return selection_; }
    bool hasCell(const QString& ref) const { return cells_.contains(ref); }
    Cell cell(const QString& ref) const { return cells_.value(ref); }
    QString value(const QString& ref) const { return cells_.value(ref).value; }
    bool isText(const QString& ref) const {
        const QString type = cells_.value(ref).type;
        return type == "s" || type == "inlineStr" || type == "str";
    }
    bool isNumber(const QString& ref) const { return hasCell(ref) && cells_.value(ref).type.isEmpty(); }
    Style style(const QString& ref) const { return styles_.value(cells_.value(ref).style); }
    Style rowStyle(int row) const { return styles_.value(rowStyles_.value(row)); }
    double rowHeight(int row) const { return rowHeights_.value(row); }
    // Refs of the cells of one sheet row, in column order.
    QStringList rowCells(int row) const {
        QStringList refs;
        for (auto it = cells_.cbegin(); it != cells_.cend(); ++it)
            if (rowOf(it.key()) == row)
                refs << it.key();
        std::sort(refs.begin(), refs.end(), [](const QString& a, const QString& b) {
            return a.size() != b.size() ? a.size() < b.size() : a < b;
        });
        return refs;
    }
    int lastRow() const {
        int last = 0;
        for (auto it = cells_.cbegin(); it != cells_.cend(); ++it)
            last = std::max(last, rowOf(it.key()));
        return last;
    }
    // Width of a 1-based column, 0 when the sheet sets none.
    double columnWidth(int column) const { return columnWidths_.value(column); }

    static int rowOf(const QString& ref) {
        static const QRegularExpression digits(QStringLiteral("\\d+$"));
        return digits.match(ref).captured().toInt();
    }

private:
    enum Need { Required, Optional };  // a sheet without text has no shared strings

    QByteArray part(const QString& name, Need need = Required) {
        QProcess unzip;
        unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path_, name});
        unzip.waitForFinished(60000);
        if (need == Required)
            valid_ = valid_ && unzip.exitStatus() == QProcess::NormalExit && unzip.exitCode() == 0;
        return unzip.readAllStandardOutput();
    }

    static QString builtInFormat(int id) {
        static const QHash<int, QString> formats{{0, "General"}, {1, "0"}, {2, "0.00"}, {3, "#,##0"},
                                                 {4, "#,##0.00"}, {14, "m/d/yy"}, {49, "@"}};
        return formats.value(id, QStringLiteral("builtin %1").arg(id));
    }

    void readStyles(const QByteArray& xml) {
        QHash<int, QString> numberFormats;
        QList<Font> fonts;
        QList<QStringList> borders;
        QXmlStreamReader reader(xml);
        QString section;
        while (!reader.atEnd()) {
            reader.readNext();
            if (!reader.isStartElement())
                continue;
            const QString name = reader.name().toString();
            const auto attr = reader.attributes();
            if (name == "numFmt")
                numberFormats[attr.value("numFmtId").toInt()] = attr.value("formatCode").toString();
            else if (name == "fonts" || name == "borders" || name == "cellXfs" || name == "cellStyleXfs")
                section = name;
            else if (name == "font" && section == "fonts")
                fonts.append(Font{});
            else if (name == "sz" && section == "fonts")
                fonts.last().size = attr.value("val").toDouble();
            else if (name == "name" && section == "fonts")
                fonts.last().name = attr.value("val").toString();
            else if (name == "border" && section == "borders")
                borders.append(QStringList{"", "", "", ""});
            else if (section == "borders" && (name == "left" || name == "right" || name == "top" || name == "bottom"))
                borders.last()[QStringList{"left", "right", "top", "bottom"}.indexOf(name)] = attr.value("style").toString();
            else if (name == "xf" && section == "cellXfs") {
                Style style;
                const int format = attr.value("numFmtId").toInt();
                style.numberFormat = numberFormats.contains(format) ? numberFormats[format] : builtInFormat(format);
                style.font = fonts.value(attr.value("fontId").toInt());
                style.borders = borders.value(attr.value("borderId").toInt(), QStringList{"", "", "", ""});
                styles_.append(style);
            } else if (name == "alignment" && section == "cellXfs") {
                styles_.last().horizontal = attr.value("horizontal").toString();
                styles_.last().vertical = attr.value("vertical").toString();
            }
        }
    }

    void readSharedStrings(const QByteArray& xml) {
        QXmlStreamReader reader(xml);
        while (!reader.atEnd()) {
            reader.readNext();
            if (reader.isStartElement() && reader.name() == QLatin1String("si"))
                strings_.append(QString());
            else if (reader.isStartElement() && reader.name() == QLatin1String("t"))
                strings_.last() += reader.readElementText();
        }
    }

    void readSheet(const QByteArray& xml) {
        QXmlStreamReader reader(xml);
        QString ref;
        while (!reader.atEnd()) {
            reader.readNext();
            if (!reader.isStartElement())
                continue;
            const QString name = reader.name().toString();
            const auto attr = reader.attributes();
            if (name == "row") {
                const int row = attr.value("r").toInt();
                if (attr.hasAttribute("s"))
                    rowStyles_[row] = attr.value("s").toInt();
                if (attr.hasAttribute("ht"))
                    rowHeights_[row] = attr.value("ht").toDouble();
            } else if (name == "c") {
                ref = attr.value("r").toString();
                cells_[ref] = {attr.value("t").toString(), QString(), attr.value("s").toInt()};
            } else if (name == "v") {
                const QString v = reader.readElementText();
                cells_[ref].value = cells_[ref].type == "s" ? strings_.value(v.toInt()) : v;
            } else if (name == "t" && cells_.value(ref).type == "inlineStr") {
                cells_[ref].value += reader.readElementText();
            } else if (name == "mergeCell") {
                merges_ << attr.value("ref").toString();
            } else if (name == "col") {
                for (int c = attr.value("min").toInt(); c <= attr.value("max").toInt(); ++c)
                    columnWidths_[c] = attr.value("width").toDouble();
            } else if (name == "selection") {
                selection_ = attr.value("sqref").toString();
            }
        }
    }

    QString path_;
    bool valid_ = true;
    QList<Style> styles_;
    QStringList strings_;
    QMap<QString, Cell> cells_;
    QHash<int, int> rowStyles_;
    QHash<int, double> rowHeights_;
    QHash<int, double> columnWidths_;
    QStringList merges_;
    QString selection_;
};
