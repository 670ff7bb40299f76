#include "dataset/Dataset.h"

#include "sql/Query.h"
#include "text/Gbk.h"

#include <QRegularExpression>
#include <algorithm>
#include <numeric>

namespace dataset {

using detail::Cell;
using detail::StoreKind;

namespace {

// "select * from T ..." over one table gets the rowid read alongside, as its first
// column, so that every row can be written back by identity. (A union would get it in
// its first part only.)
std::optional<QString> statementWithRowid(const QString& statement) {
    static const QRegularExpression singleTableSelect(
        QStringLiteral(R"(\A(\s*select\s+)\*(\s+from\s+[A-Za-z_][A-Za-z0-9_]*\s*(?:where\b|order\b|;|\z)))"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression unionWord(QStringLiteral(R"(\bunion\b)"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = singleTableSelect.match(statement);
    if (!match.hasMatch() || unionWord.match(statement).hasMatch())
        return std::nullopt;
    return match.captured(1) + QStringLiteral("_rowid_, *") + statement.mid(match.capturedEnd(1) + 1);
}

int codePointCount(const QString& text) {
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (!text.at(i).isLowSurrogate())
            ++count;
    return count;
}

QString leftCodePoints(const QString& text, int count) {
    qsizetype end = 0;
    for (int taken = 0; end < text.size() && taken < count; ++taken)
        end += text.at(end).isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
    return text.left(end);
}

} // namespace

struct Dataset::ColumnSetup {
    bool followsResult = false;                    // no columns set up in code
    std::vector<std::unique_ptr<Column>> created;  // the new columns when they follow the result
    std::vector<sql::ColumnInfo> info;             // per dataset column: its result column
    std::vector<int> positions;                    // per dataset column: position in the result
    std::vector<sql::FieldType> types;             // per dataset column: type after loading
};

struct Dataset::LoadedRows {
    std::vector<std::unique_ptr<detail::ColumnStore>> stores;
    std::vector<SlotMeta> slotMeta;
    QString updateTable;
};

Dataset::Dataset(QObject* parent) : QObject(parent) {}

Dataset::~Dataset() = default;

// --- where the rows come from

void Dataset::setConnection(sql::Connection* connection) {
    close();
    connection_ = connection;
}

void Dataset::setCommandText(const QString& statement) {
    close();
    commandText_ = statement;
}

void Dataset::setParams(const sql::Params& params) {
    params_ = params;
}

void Dataset::open() {
    if (isOpen())
        return;
    runStatement();
}

void Dataset::refresh() {
    requireOpen();
    if (!checkBrowseMode())
        return;
    if (inMemory_)
        refilter(false);
    else
        runStatement();
}

void Dataset::runStatement() {
    if (!connection_)
        throw Error(QStringLiteral("数据集没有连接帐套"));
    const std::optional<QString> withRowid = statementWithRowid(commandText_);
    const int firstColumn = withRowid ? 1 : 0;
    sql::Query query(*connection_, withRowid.value_or(commandText_), params_);
    const bool hasRow = query.next();  // a computed column's type is settled by the first row
    ColumnSetup setup = setUpColumns(query.columns(), firstColumn);
    LoadedRows rows = readRows(query, hasRow, firstColumn, setup);
    install(setup, rows);
}

Dataset::ColumnSetup Dataset::setUpColumns(const QList<sql::ColumnInfo>& result, int firstColumn) {
    auto resultPosition = [&](const QString& name) {
        for (int i = firstColumn; i < result.size(); ++i)
            if (result[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };
    ColumnSetup setup;
    const bool declared = !columns_.empty() && columns_.front()->declared_;
    setup.followsResult = !declared;
    if (declared) {
        for (const auto& column : columns_) {
            const int position = resultPosition(column->name());
            if (position < 0)
                throw Error(QStringLiteral("查询结果中没有字段“%1”").arg(column->name()));
            setup.positions.push_back(position);
        }
    } else {
        for (int i = firstColumn; i < result.size(); ++i) {
            const sql::ColumnInfo& info = result[i];
            setup.created.emplace_back(new Column(this, int(setup.created.size()), info.name, info.type, info.width));
            if (const int previous = indexOf(info.name); previous >= 0)
                setup.created.back()->copySettingsFrom(*columns_[previous]);
            setup.positions.push_back(i);
        }
    }
    for (std::size_t c = 0; c < setup.positions.size(); ++c) {
        const sql::ColumnInfo& info = result[setup.positions[c]];
        setup.info.push_back(info);
        const sql::FieldType declaredType = declared ? columns_[c]->type_ : sql::FieldType::Unknown;
        setup.types.push_back(declaredType != sql::FieldType::Unknown ? declaredType : info.type);
    }
    return setup;
}

Dataset::LoadedRows Dataset::readRows(sql::Query& query, bool hasRow, int firstColumn, ColumnSetup& setup) const {
    const int count = int(setup.positions.size());
    LoadedRows rows;
    std::vector<bool> undecided(count);  // computed columns without a type yet take their first value's
    for (int c = 0; c < count; ++c) {
        rows.stores.push_back(detail::makeStore(detail::kindForType(setup.types[c])));
        undecided[c] = setup.types[c] == sql::FieldType::Unknown;
    }
    for (bool more = hasRow; more; more = query.next()) {
        const int slot = int(rows.slotMeta.size());
        rows.slotMeta.push_back(SlotMeta{firstColumn ? query.value(0).toLongLong() : 0, false});
        for (int c = 0; c < count; ++c) {
            auto& store = rows.stores[c];
            store->appendNull();
            const QVariant stored = query.value(setup.positions[c]);
            if (stored.isNull())
                continue;
            if (undecided[c]) {
                undecided[c] = false;
                store = detail::convertStore(*store, detail::kindOfStoredValue(stored));
            }
            std::optional<Cell> cell = detail::cellFromStored(store->kind(), stored);
            if (!cell) {
                // A value the column's kind cannot hold: a whole-number column widens to
                // doubles, any other keeps its values as text.
                const bool widen = store->kind() == StoreKind::Integer && stored.typeId() == QMetaType::Double;
                store = detail::convertStore(*store, widen ? StoreKind::Float : StoreKind::Text);
                cell = detail::cellFromStored(store->kind(), stored);
                if (setup.info[c].table.isEmpty())
                    setup.types[c] = widen ? sql::FieldType::Float : sql::FieldType::Text;
            }
            store->set(slot, *cell);
        }
    }
    for (int c = 0; c < count; ++c) {
        if (setup.types[c] == sql::FieldType::Unknown) {
            const StoreKind kind = rows.stores[c]->kind();
            setup.types[c] = kind == StoreKind::Integer ? sql::FieldType::Integer
                           : kind == StoreKind::Float   ? sql::FieldType::Float
                                                        : sql::FieldType::Text;
        }
    }
    if (firstColumn) {
        // Written back only when every column is a plain column of the one table.
        const QString table = query.columns().value(0).table;
        const bool plain = std::all_of(setup.info.begin(), setup.info.end(), [&](const sql::ColumnInfo& info) {
            return !table.isEmpty() && info.table.compare(table, Qt::CaseInsensitive) == 0 && !info.originName.isEmpty();
        });
        if (plain)
            rows.updateTable = table;
    }
    return rows;
}

void Dataset::install(ColumnSetup& setup, LoadedRows& rows) {
    beginReset();
    if (setup.followsResult)
        columns_ = std::move(setup.created);
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        Column& column = *columns_[c];
        const sql::ColumnInfo& info = setup.info[c];
        column.type_ = setup.types[c];
        if (column.width_ == 0)
            column.width_ = info.width;
        column.table_ = info.table;
        column.originName_ = info.originName;
    }
    clearRows();
    stores_ = std::move(rows.stores);
    slots_ = std::move(rows.slotMeta);
    updateTable_ = rows.updateTable;
    inMemory_ = false;
    order_.resize(slots_.size());
    std::iota(order_.begin(), order_.end(), 0);
    state_ = State::Browse;
    rebuildRows();
    placeCursor(isEmpty() ? -1 : 0, true, isEmpty());
    endReset();
    notifyViews([&] {
        emit currentRowChanged(current_);
        emit stateChanged(state_);
    });
    scrolled();
}

void Dataset::createInMemory() {
    close();
    if (columns_.empty())
        throw Error(QStringLiteral("内存表没有字段"));
    beginReset();
    for (auto& column : columns_)
        if (column->type_ == sql::FieldType::Unknown)
            column->type_ = sql::FieldType::Text;
    clearRows();
    for (const auto& column : columns_)
        stores_.push_back(detail::makeStore(detail::kindForType(column->type_)));
    inMemory_ = true;
    updateTable_.clear();
    state_ = State::Browse;
    endReset();
    notifyViews([&] {
        emit currentRowChanged(current_);
        emit stateChanged(state_);
    });
}

void Dataset::close() {
    if (!isOpen())
        return;
    beginReset();
    state_ = State::Inactive;
    clearRows();
    endReset();
    notifyViews([&] {
        emit currentRowChanged(current_);
        emit stateChanged(state_);
    });
}

void Dataset::clearRows() {
    stores_.clear();
    slots_.clear();
    order_.clear();
    rows_.clear();
    pending_.clear();
    writtenRowids_.clear();
    editBefore_.clear();
    modified_ = false;
    placeCursor(-1, true, true);
}

int Dataset::appendSlot() {
    for (auto& store : stores_)
        store->appendNull();
    slots_.push_back(SlotMeta{});
    return int(slots_.size()) - 1;
}

// --- columns

Column& Dataset::addColumn(const QString& name, sql::FieldType type, int width) {
    if (isOpen())
        throw Error(QStringLiteral("数据集已打开，不能再增加字段“%1”").arg(name));
    if (indexOf(name) >= 0)
        throw Error(QStringLiteral("字段“%1”已经存在").arg(name));
    if (!columns_.empty() && !columns_.front()->declared_)
        columns_.clear();  // columns of an earlier result give way to columns set up in code
    columns_.emplace_back(new Column(this, int(columns_.size()), name, type, width));
    columns_.back()->declared_ = true;
    notifyViews([&] { emit columnsChanged(); });
    return *columns_.back();
}

int Dataset::indexOf(const QString& name) const {
    for (std::size_t c = 0; c < columns_.size(); ++c)
        if (columns_[c]->name().compare(name, Qt::CaseInsensitive) == 0)
            return int(c);
    return -1;
}

int Dataset::requireIndex(const QString& name) const {
    const int index = indexOf(name);
    if (index < 0)
        throw Error(QStringLiteral("数据集中没有字段“%1”").arg(name));
    return index;
}

void Dataset::columnSettingsChanged() {
    notifyViews([&] { emit columnsChanged(); });
}

void Dataset::requireOpen() const {
    if (!isOpen())
        throw Error(QStringLiteral("数据集没有打开"));
}

// --- rows and cursor

Record Dataset::record(int row) const {
    return Record(this, rows_.at(row));
}

Record Dataset::currentRecord() const {
    return Record(this, currentSlot());
}

void Dataset::placeCursor(int row, bool bof, bool eof) {
    current_ = row;
    bof_ = bof;
    eof_ = eof;
}

bool Dataset::setCurrent(int row, bool bof, bool eof) {
    const bool moved = row != current_;
    placeCursor(row, bof, eof);
    notifyViews([&] { emit currentRowChanged(row); });
    return moved;
}

void Dataset::scrolled() {
    if (events_.afterScroll)
        events_.afterScroll(*this);
}

bool Dataset::checkBrowseMode() {
    if (state_ != State::Edit && state_ != State::Insert)
        return true;
    if (modified_)
        return post();
    cancel();
    return true;
}

void Dataset::first() {
    requireOpen();
    if (!checkBrowseMode())
        return;
    setCurrent(isEmpty() ? -1 : 0, true, isEmpty());
    scrolled();
}

void Dataset::last() {
    requireOpen();
    if (!checkBrowseMode())
        return;
    setCurrent(recordCount() - 1, isEmpty(), true);
    scrolled();
}

void Dataset::next() {
    requireOpen();
    if (!checkBrowseMode() || eof_)
        return;
    if (current_ + 1 < recordCount()) {
        setCurrent(current_ + 1, false, false);
        scrolled();
    } else {
        bof_ = false;
        eof_ = true;
    }
}

void Dataset::prior() {
    requireOpen();
    if (!checkBrowseMode() || bof_)
        return;
    if (current_ > 0) {
        setCurrent(current_ - 1, false, false);
        scrolled();
    } else {
        bof_ = true;
        eof_ = isEmpty();
    }
}

bool Dataset::moveTo(int row) {
    requireOpen();
    if (row < 0 || row >= recordCount())
        return false;
    if (row == current_)
        return true;
    const int target = rows_[row];
    if (!checkBrowseMode())
        return false;
    // Leaving the row may have moved rows (a cancelled new row, a posted row taking its sort place).
    const auto found = std::find(rows_.begin(), rows_.end(), target);
    if (found == rows_.end())
        return false;
    setCurrent(int(found - rows_.begin()), false, false);
    scrolled();
    return true;
}

bool Dataset::locate(const QString& column, const QVariant& value) {
    requireOpen();
    const int c = requireIndex(column);
    const std::optional<Cell> wanted = detail::cellFromInput(kindOf(c), value);
    if (!wanted)
        return false;
    for (int row = 0; row < recordCount(); ++row)
        if (stores_[c]->get(rows_[row]) == *wanted)
            return moveTo(row);
    return false;
}

// --- filter and sort

void Dataset::setFilterText(const QString& text, const QStringList& columns) {
    for (const QString& column : columns)
        requireIndex(column);
    filterText_ = text;
    filterColumns_ = columns;
    filter_ = nullptr;
    if (filtered_)
        refilter(false);
}

void Dataset::setFilter(RowFilter filter) {
    filter_ = std::move(filter);
    filterText_.clear();
    filterColumns_.clear();
    if (filtered_)
        refilter(false);
}

void Dataset::setFiltered(bool filtered) {
    if (filtered == filtered_)
        return;
    filtered_ = filtered;
    refilter(false);
}

void Dataset::setIndexFieldNames(const QString& names) {
    const QString previous = indexFieldNames_;
    indexFieldNames_ = names;
    try {
        sortColumns();
    } catch (const Error&) {
        indexFieldNames_ = previous;
        throw;
    }
    refilter(true);
}

void Dataset::refilter(bool keepCurrentRow) {
    if (!isOpen() || !checkBrowseMode())
        return;
    const int slot = currentSlot();
    beginReset();
    rebuildRows();
    int row = isEmpty() ? -1 : 0;
    if (keepCurrentRow && slot >= 0) {
        const auto found = std::find(rows_.begin(), rows_.end(), slot);
        if (found != rows_.end())
            row = int(found - rows_.begin());
    }
    placeCursor(row, row <= 0, isEmpty());
    endReset();
    notifyViews([&] { emit currentRowChanged(current_); });
    scrolled();
}

void Dataset::rebuildRows() {
    rows_.clear();
    rows_.reserve(order_.size());
    std::vector<int> textColumns;
    for (const QString& name : filterColumns_)
        textColumns.push_back(requireIndex(name));
    const bool filtering = filtered_ && (filter_ || !textColumns.empty());
    for (const int slot : order_) {
        if (slots_[slot].deleted)
            continue;
        if (filtering) {
            const bool keep = filter_ ? filter_(Record(this, slot))
                                      : std::any_of(textColumns.begin(), textColumns.end(), [&](int c) {
                                            return stores_[c]->containsText(slot, filterText_);
                                        });
            if (!keep)
                continue;
        }
        rows_.push_back(slot);
    }
    if (!indexFieldNames_.isEmpty()) {
        const std::vector<int> keys = sortColumns();
        std::stable_sort(rows_.begin(), rows_.end(), [&](int a, int b) {
            for (const int c : keys)
                if (const int order = stores_[c]->compare(a, b))
                    return order < 0;
            return false;
        });
    }
}

std::vector<int> Dataset::sortColumns() const {
    std::vector<int> keys;
    for (const QString& name : indexFieldNames_.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        keys.push_back(requireIndex(name.trimmed()));
    return keys;
}

bool Dataset::slotLess(int slotA, int slotB) const {
    for (const int c : sortColumns())
        if (const int order = stores_[c]->compare(slotA, slotB))
            return order < 0;
    return false;
}

void Dataset::placeSortedRow() {
    const int slot = currentSlot();
    std::vector<int> others = rows_;
    others.erase(others.begin() + current_);
    const auto place = std::upper_bound(others.begin(), others.end(), slot,
                                        [&](int a, int b) { return slotLess(a, b); });
    const int row = int(place - others.begin());
    if (row == current_)
        return;
    beginReset();
    others.insert(others.begin() + row, slot);
    rows_ = std::move(others);
    placeCursor(row, false, false);
    endReset();
    notifyViews([&] { emit currentRowChanged(current_); });
}

// --- editing

bool Dataset::canModify() const {
    return isOpen() && !readOnly_ && (inMemory_ || writesToTable());
}

void Dataset::requireModifiable() const {
    if (!canModify())
        throw Error(QStringLiteral("数据集是只读的，不能修改"));
}

void Dataset::requireEditing() const {
    if (state_ != State::Edit && state_ != State::Insert)
        throw Error(QStringLiteral("数据集不在编辑或插入状态"));
}

void Dataset::enterState(State state) {
    state_ = state;
    notifyViews([&] { emit stateChanged(state); });
}

bool Dataset::edit() {
    requireOpen();
    if (state_ == State::Edit || state_ == State::Insert)
        return true;
    if (isEmpty())
        return insert();
    requireModifiable();
    if (events_.beforeEdit && !events_.beforeEdit(*this))
        return false;
    editBefore_ = cellsOf(currentSlot());
    modified_ = false;
    enterState(State::Edit);
    return true;
}

bool Dataset::insert() {
    return insertRow(false);
}

bool Dataset::append() {
    return insertRow(true);
}

bool Dataset::insertRow(bool atEnd) {
    requireOpen();
    requireModifiable();
    if (!checkBrowseMode())
        return false;
    if (events_.beforeInsert && !events_.beforeInsert(*this))
        return false;
    const bool atCursor = !atEnd && current_ >= 0;
    const int row = atCursor ? current_ : recordCount();
    const int slot = appendSlot();
    if (atCursor)
        order_.insert(std::find(order_.begin(), order_.end(), rows_[current_]), slot);
    else
        order_.push_back(slot);
    rowBeforeInsert_ = current_;
    notifyViews([&] { emit rowAboutToBeInserted(row); });
    rows_.insert(rows_.begin() + row, slot);
    notifyViews([&] { emit rowInserted(row); });
    editBefore_.clear();
    modified_ = false;
    enterState(State::Insert);
    setCurrent(row, false, false);
    if (events_.afterInsert)
        events_.afterInsert(*this);
    scrolled();
    return true;
}

Cell Dataset::inputCell(int column, const QVariant& input) const {
    const StoreKind kind = kindOf(column);
    if (const std::optional<Cell> cell = detail::cellFromInput(kind, input))
        return cutToWidth(column, *cell);
    const QString what = kind == StoreKind::Temporal ? QStringLiteral("日期") : QStringLiteral("数值");
    throw Error(QStringLiteral("字段“%1”的值“%2”不是有效的%3")
                    .arg(columns_[column]->displayLabel(), input.toString(), what));
}

Cell Dataset::cutToWidth(int column, const Cell& cell) const {
    const Column& c = *columns_[column];
    if (c.overlongText() != OverlongText::Cut || c.width() <= 0 || !std::holds_alternative<QString>(cell))
        return cell;
    const QString& text = std::get<QString>(cell);
    return c.widthUnit() == WidthUnit::GbkBytes ? text::cutToGbkWidth(text, c.width())
                                                : leftCodePoints(text, c.width());
}

void Dataset::setFieldValue(int column, const QVariant& value) {
    requireOpen();
    requireEditing();
    if (columns_.at(column)->isReadOnly())
        throw Error(QStringLiteral("字段“%1”是只读的，不能修改").arg(columns_[column]->displayLabel()));
    stores_[column]->set(currentSlot(), inputCell(column, value));
    modified_ = true;
    notifyViews([&] { emit rowChanged(current_); });
    if (events_.fieldChanged)
        events_.fieldChanged(Field(this, column));
}

void Dataset::checkWidths() const {
    const int slot = currentSlot();
    for (const auto& column : columns_) {
        if (column->width() <= 0 || column->overlongText() != OverlongText::Refuse)
            continue;
        const detail::ColumnStore& store = *stores_[column->index()];
        if (store.kind() != StoreKind::Text || store.isNull(slot))
            continue;
        const QString value = store.text(slot);
        const bool bytes = column->widthUnit() == WidthUnit::GbkBytes;
        const int length = bytes ? text::gbkByteLength(value) : codePointCount(value);
        if (length > column->width())
            throw Error(QStringLiteral("字段“%1”的内容超过 %2 个%3")
                            .arg(column->displayLabel())
                            .arg(column->width())
                            .arg(bytes ? QStringLiteral("字节") : QStringLiteral("字符")));
    }
}

std::vector<Cell> Dataset::cellsOf(int slot) const {
    std::vector<Cell> cells;
    cells.reserve(stores_.size());
    for (const auto& store : stores_)
        cells.push_back(store->get(slot));
    return cells;
}

void Dataset::restoreCells(int slot, const std::vector<Cell>& cells) {
    for (std::size_t c = 0; c < cells.size(); ++c)
        stores_[c]->set(slot, cells[c]);
}

std::vector<bool> Dataset::changedColumns(int slot) const {
    std::vector<bool> changed(stores_.size(), false);
    for (std::size_t c = 0; c < stores_.size(); ++c)
        changed[c] = editBefore_.empty() || stores_[c]->get(slot) != editBefore_[c];
    return changed;
}

bool Dataset::post() {
    requireOpen();
    if (state_ != State::Edit && state_ != State::Insert)
        return true;
    if (events_.beforePost && !events_.beforePost(*this))
        return false;
    checkWidths();
    const int slot = currentSlot();
    const State posted = state_;
    if (writesToTable()) {
        if (updateMode_ == UpdateMode::Batch)
            recordPendingPost(posted);
        else if (posted == State::Insert)
            slots_[slot].rowid = writeInsert(slot);
        else
            writeUpdate(slot, changedColumns(slot));
    }
    modified_ = false;
    editBefore_.clear();
    enterState(State::Browse);
    if (!indexFieldNames_.isEmpty())
        placeSortedRow();
    if (events_.afterPost)
        events_.afterPost(*this);
    return true;
}

void Dataset::cancel() {
    if (state_ == State::Edit) {
        restoreCells(currentSlot(), editBefore_);
        notifyViews([&] { emit rowChanged(current_); });
    } else if (state_ == State::Insert) {
        const int slot = currentSlot();
        removeRow(current_);
        dropSlot(slot);
    } else {
        return;
    }
    const bool wasInsert = state_ == State::Insert;
    modified_ = false;
    editBefore_.clear();
    enterState(State::Browse);
    if (wasInsert) {
        const int row = std::min(rowBeforeInsert_, recordCount() - 1);
        setCurrent(row, isEmpty(), isEmpty());
        scrolled();
    }
}

bool Dataset::deleteRecord() {
    requireOpen();
    if (state_ == State::Insert) {
        cancel();
        return true;
    }
    if (isEmpty())
        throw Error(QStringLiteral("数据集是空的，没有可删除的行"));
    requireModifiable();
    if (events_.beforeDelete && !events_.beforeDelete(*this))
        return false;
    const int slot = currentSlot();
    if (state_ == State::Edit) {
        restoreCells(slot, editBefore_);
        modified_ = false;
        editBefore_.clear();
        enterState(State::Browse);
    }
    if (writesToTable() && updateMode_ == UpdateMode::Immediate)
        writeDelete(slot);
    const int row = current_;
    removeRow(row);
    if (writesToTable() && updateMode_ == UpdateMode::Batch)
        recordPendingDelete(slot);
    else
        dropSlot(slot);
    setCurrent(std::min(row, recordCount() - 1), isEmpty(), isEmpty());
    if (events_.afterDelete)
        events_.afterDelete(*this);
    scrolled();
    return true;
}

void Dataset::removeRow(int row) {
    notifyViews([&] { emit rowAboutToBeRemoved(row); });
    rows_.erase(rows_.begin() + row);
    notifyViews([&] { emit rowRemoved(row); });
}

// The slot leaves the dataset for good; its cells stay unused until the rows are read again.
void Dataset::dropSlot(int slot) {
    slots_[slot].deleted = true;
    order_.erase(std::find(order_.begin(), order_.end(), slot));
    pending_.remove(slot);
}

// --- views

void Dataset::notifyViews(const std::function<void()>& notify) {
    if (disabledCount_ > 0)
        viewsStale_ = true;
    else
        notify();
}

void Dataset::beginReset() {
    notifyViews([&] { emit aboutToReset(); });
}

void Dataset::endReset() {
    notifyViews([&] { emit reset(); });
}

void Dataset::disableControls() {
    ++disabledCount_;
}

void Dataset::enableControls() {
    if (disabledCount_ == 0 || --disabledCount_ > 0 || !viewsStale_)
        return;
    viewsStale_ = false;
    emit aboutToReset();
    emit reset();
    emit currentRowChanged(current_);
    emit stateChanged(state_);
}

} // namespace dataset
