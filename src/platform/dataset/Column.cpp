#include "dataset/Column.h"

#include "dataset/Dataset.h"

namespace dataset {

Column::Column(Dataset* owner, int index, const QString& name, sql::FieldType type, int width)
    : owner_(owner), index_(index), name_(name), type_(type), width_(width) {}

bool Column::isNumeric() const {
    return type_ == sql::FieldType::Decimal || type_ == sql::FieldType::Integer || type_ == sql::FieldType::Float;
}

bool Column::isTemporal() const {
    return type_ == sql::FieldType::Date || type_ == sql::FieldType::DateTime;
}

Column& Column::setWidth(int width, WidthUnit unit) {
    width_ = width;
    widthUnit_ = unit;
    return *this;
}

Column& Column::setOverlongText(OverlongText rule) {
    overlong_ = rule;
    return *this;
}

Column& Column::setDisplayLabel(const QString& label) {
    label_ = label;
    settingsChanged();
    return *this;
}

Column& Column::setVisible(bool visible) {
    visible_ = visible;
    settingsChanged();
    return *this;
}

Column& Column::setReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    settingsChanged();
    return *this;
}

Column& Column::setDisplayFormat(const QString& format) {
    displayFormat_ = format;
    settingsChanged();
    return *this;
}

Qt::Alignment Column::alignment() const {
    if (alignment_)
        return *alignment_;
    return isNumeric() ? Qt::AlignRight : Qt::AlignLeft;
}

Column& Column::setAlignment(Qt::Alignment alignment) {
    alignment_ = alignment;
    settingsChanged();
    return *this;
}

Column& Column::setDisplayWidth(int characters) {
    displayWidth_ = characters;
    settingsChanged();
    return *this;
}

void Column::settingsChanged() {
    owner_->columnSettingsChanged();
}

void Column::copySettingsFrom(const Column& other) {
    label_ = other.label_;
    visible_ = other.visible_;
    readOnly_ = other.readOnly_;
    displayFormat_ = other.displayFormat_;
    alignment_ = other.alignment_;
    displayWidth_ = other.displayWidth_;
}

} // namespace dataset
