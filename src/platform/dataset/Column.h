#pragma once

#include "sql/Column.h"

#include <QString>
#include <Qt>
#include <optional>

namespace dataset {

class Dataset;

// How the width of a text column is counted: characters (the account set's text(n)
// columns) or bytes of the GBK code page (in-memory tables laid out for printing).
enum class WidthUnit { Characters, GbkBytes };

// What happens to a text longer than its column: refused when the row is posted
// (as the engine refuses it), or cut to the width as soon as it is set.
enum class OverlongText { Refuse, Cut };

// One column of a dataset: what it holds and how lists, exports and prints show it.
// Columns are owned by their dataset; references stay valid while it lives. The
// setters return the column, so a window can set up a column in one statement:
//   ds.column("YS").setDisplayLabel("应收合计").setDisplayFormat("#0.00");
class Column {
public:
    Column(const Column&) = delete;
    Column& operator=(const Column&) = delete;

    const QString& name() const { return name_; }
    int index() const { return index_; }
    sql::FieldType dataType() const { return type_; }
    bool isNumeric() const;
    bool isTemporal() const;

    // 0 when the column has no width (numbers, dates, computed texts).
    int width() const { return width_; }
    WidthUnit widthUnit() const { return widthUnit_; }
    OverlongText overlongText() const { return overlong_; }
    Column& setWidth(int width, WidthUnit unit = WidthUnit::Characters);
    Column& setOverlongText(OverlongText rule);

    // The caption of lists and exports; the name when none was set.
    QString displayLabel() const { return label_.isEmpty() ? name_ : label_; }
    Column& setDisplayLabel(const QString& label);

    // A column that is not visible is left out of grids, exports and prints.
    bool isVisible() const { return visible_; }
    Column& setVisible(bool visible);

    // A read-only column refuses every new value, from a grid or from code.
    bool isReadOnly() const { return readOnly_; }
    Column& setReadOnly(bool readOnly);

    // Number display format such as "#0.00" (see text::Decimal::format); applies to
    // decimal, float and integer columns. Empty: the plain number text.
    const QString& displayFormat() const { return displayFormat_; }
    Column& setDisplayFormat(const QString& format);

    // Right for numbers, left for everything else, unless set.
    Qt::Alignment alignment() const;
    Column& setAlignment(Qt::Alignment alignment);

    // Width a grid gives the column, in characters; 0 lets the grid decide.
    int displayWidth() const { return displayWidth_; }
    Column& setDisplayWidth(int characters);

    // Where the values come from: the table and its own column name (empty for an
    // in-memory table or a computed column).
    const QString& table() const { return table_; }
    const QString& originName() const { return originName_; }

private:
    friend class Dataset;
    Column(Dataset* owner, int index, const QString& name, sql::FieldType type, int width);
    void settingsChanged();
    void copySettingsFrom(const Column& other);

    Dataset* owner_;
    int index_;
    QString name_;
    sql::FieldType type_;
    int width_;
    WidthUnit widthUnit_ = WidthUnit::Characters;
    OverlongText overlong_ = OverlongText::Refuse;
    QString label_;
    bool visible_ = true;
    bool readOnly_ = false;
    QString displayFormat_;
    std::optional<Qt::Alignment> alignment_;
    int displayWidth_ = 0;
    QString table_;
    QString originName_;
    bool declared_ = false;  // set up in code before opening, kept across opens
};

} // namespace dataset
