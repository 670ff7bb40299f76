#pragma once

#include "dataset/Column.h"
#include "dataset/ColumnStore.h"
#include "dataset/Error.h"
#include "dataset/Field.h"

#include "sql/Connection.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

namespace sql {
class Query;
}

namespace dataset {

// A filter for code: true keeps the row.
using RowFilter = std::function<bool(const Record&)>;

// The rows of one statement (or of an in-memory table) with their columns, a cursor,
// an in-memory filter and sort order, editing, and writing back to the account set.
// It is the model behind every list, grid, export and print.
//
// Rows come either from a dialect statement on a connection:
//   Dataset ds; ds.setConnection(&conn); ds.setCommandText("select * from bm_sp");
//   ds.open();
//   for (ds.first(); !ds.eof(); ds.next()) use(ds.field("BM").asString());
// or from a table defined in code:
//   ds.addColumn("SPBM", sql::FieldType::Text, 10).setWidth(10, WidthUnit::GbkBytes);
//   ds.createInMemory();
//
// Columns. Without columns added in code, the columns follow each result, and the
// settings a window gave a column (label, visibility, format, ...) stay with the
// column of the same name when the dataset opens again. Columns added in code before
// opening a statement are the dataset's only columns (other result columns are left
// out), keep their settings, and opening fails when the result lacks one of them.
//
// Cursor. As on the desktop: first() sets bof(), next() on the last row sets eof(),
// prior() on the first row sets bof(); an empty dataset is bof() and eof().
// Moving off a row in edit or insert state posts it when modified and cancels it when
// not; if that post fails, the error is thrown and the cursor stays on the row.
//
// Writing back. The rows of a single-table "select * from T ..." are written to T;
// each row is identified by its rowid, read alongside and never shown, so rows that
// look alike stay apart. Other results and in-memory tables are written nowhere
// (in-memory tables are edited in memory; other results are read-only).
// Immediate mode writes a posted row at once (INSERT, or UPDATE of the changed
// columns) and a deleted row at once. Batch mode keeps the changes until
// applyUpdates(). Values are bound as parameters: decimals with two places, dates as
// their stored text.
//
// Filter and sort act on the loaded rows without a new statement. A row that is posted
// keeps its place in a filtered list (the filter is applied again when set, switched,
// or when the rows are read again); with a sort order, a posted row moves to the place
// of its key.
//
// Events are the window's handlers, one per event, as on the desktop. A before-event
// returns false to cancel the operation quietly; the operation then returns false (a
// move whose post beforePost refuses stays on its row). Errors thrown by a handler
// reach the caller of the operation. Views follow the dataset through the Qt signals below, which disableControls()
// suspends.
class Dataset : public QObject {
    Q_OBJECT

public:
    enum class State { Inactive, Browse, Edit, Insert };
    enum class UpdateMode { Immediate, Batch };

    struct Events {
        std::function<bool(Dataset&)> beforeEdit;
        std::function<bool(Dataset&)> beforeInsert;  // insert() and append()
        std::function<bool(Dataset&)> beforePost;
        std::function<bool(Dataset&)> beforeDelete;
        std::function<void(Dataset&)> afterInsert;   // the new row is current, state Insert
        std::function<void(Dataset&)> afterPost;
        std::function<void(Dataset&)> afterDelete;
        // After first() and last(), after next(), prior() and moveTo() that reached another
        // row, and after the rows were read, filtered or deleted from.
        std::function<void(Dataset&)> afterScroll;
        std::function<void(Field)> fieldChanged;      // after each value set on a column
    };

    explicit Dataset(QObject* parent = nullptr);
    ~Dataset() override;

    // --- where the rows come from
    void setConnection(sql::Connection* connection);
    sql::Connection* connection() const { return connection_; }
    // A dialect statement; setting it closes an open dataset.
    void setCommandText(const QString& statement);
    const QString& commandText() const { return commandText_; }
    // Named parameters of the statement (":rq1" given as "rq1"); used by the next open.
    void setParams(const sql::Params& params);
    const sql::Params& params() const { return params_; }
    // Runs the statement; does nothing when already open. Throws sql::Error.
    void open();
    // Drops the rows and every pending change; state Inactive.
    void close();
    bool isOpen() const { return state_ != State::Inactive; }
    // Reads the rows again (posting a modified row first, dropping pending batch
    // changes); filter and sort stay; the cursor goes to the first row. An in-memory
    // table applies its filter and sort order again.
    void refresh();
    // Opens an empty in-memory table with the columns added in code.
    void createInMemory();
    bool isInMemory() const { return inMemory_; }

    // --- columns
    // Adds a column in code: the column of an in-memory table, or a column a statement
    // must deliver (type Unknown and width 0 are then taken from the result).
    Column& addColumn(const QString& name, sql::FieldType type = sql::FieldType::Unknown, int width = 0);
    int columnCount() const { return int(columns_.size()); }
    Column& column(int index) { return *columns_.at(index); }
    const Column& column(int index) const { return *columns_.at(index); }
    // By name without regard to case; throws dataset::Error when there is no such column.
    Column& column(const QString& name) { return *columns_.at(requireIndex(name)); }
    const Column& column(const QString& name) const { return *columns_.at(requireIndex(name)); }
    // -1 when there is no such column.
    int indexOf(const QString& name) const;
    // The column at the current row; throws dataset::Error for an unknown name.
    Field field(const QString& name) { return Field(this, requireIndex(name)); }
    Field field(int column) { return Field(this, column); }

    // --- rows and cursor (rows are counted after the filter)
    int recordCount() const { return int(rows_.size()); }
    bool isEmpty() const { return rows_.empty(); }
    int row() const { return current_; }            // 0-based; -1 when empty
    int recordNo() const { return current_ + 1; }   // 1-based; 0 when empty
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }
    void first();
    void last();
    void next();
    void prior();
    // Makes the 0-based row current; false when there is no such row or the row being
    // edited could not be left.
    bool moveTo(int row);
    // Makes the first row whose column equals the value current (texts exactly, numbers
    // and dates by value, a null QVariant finds null); false and no move when none does.
    bool locate(const QString& column, const QVariant& value);
    Record record(int row) const;
    Record currentRecord() const;
    QVariant value(int row, int column) const { return record(row).value(column); }

    // --- filter and sort
    // Keeps the rows where any of the columns contains the text, ignoring case; the
    // text is taken literally (quotes, % and _ are plain characters). Takes effect
    // while filtered.
    void setFilterText(const QString& text, const QStringList& columns);
    // A filter for code; replaces the text filter. Takes effect while filtered.
    void setFilter(RowFilter filter);
    const QString& filterText() const { return filterText_; }
    void setFiltered(bool filtered);
    bool isFiltered() const { return filtered_; }
    // Sort order by column names separated by ";" ("SXJE", "SPBM;SPMC"), ascending,
    // null first; empty: the order of the statement and of insertion.
    void setIndexFieldNames(const QString& names);
    const QString& indexFieldNames() const { return indexFieldNames_; }

    // --- editing
    State state() const { return state_; }
    // True once a value was set since edit(), insert() or append().
    bool isModified() const { return modified_; }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool isReadOnly() const { return readOnly_; }
    // False for a read-only dataset and for a statement result that has no table to write to.
    bool canModify() const;
    // Puts the current row into editing; on an empty dataset inserts a new row instead.
    bool edit();
    // A new empty row before the current one (insert) or after the last one (append).
    bool insert();
    bool append();
    // Stores the row being edited or inserted; throws dataset::Error for a text longer
    // than its column ("字段“备注”的内容超过 50 个字符") and sql::Error when the engine
    // refuses the row; the row then stays in edit.
    bool post();
    // Drops the changes of the row being edited; a row being inserted disappears.
    void cancel();
    // Ends the editing of the current row the way leaving the row would: posts it when
    // modified, cancels it when not. False when a beforePost handler kept the row.
    bool checkBrowseMode();
    // Deletes the current row (in insert state: cancels the new row). Throws
    // dataset::Error on an empty dataset and sql::Error when the engine refuses.
    bool deleteRecord();

    // --- writing back
    void setUpdateMode(UpdateMode mode) { updateMode_ = mode; }
    UpdateMode updateMode() const { return updateMode_; }
    // The table rows are written to; empty when the rows are written nowhere.
    const QString& updateTable() const { return updateTable_; }
    bool hasPendingUpdates() const { return !pending_.empty(); }
    int pendingUpdateCount() const { return int(pending_.size()); }
    // Posts a modified row (when beforePost refuses it, nothing is written), then writes
    // every pending change inside one transaction:
    // deleted rows first, then changed rows, then new rows. Without a transaction open
    // on the connection it begins and commits its own; on failure it rolls back, keeps
    // every pending change and throws. Inside a transaction the caller opened, it writes
    // into that transaction and forgets the changes once written.
    void applyUpdates();
    // Drops every pending change: changed rows get their old values back, deleted rows
    // return, new rows disappear.
    void cancelUpdates();
    // The two halves of applyUpdates(), for several datasets in one transaction (see
    // the free function applyUpdates below): write the pending changes without
    // forgetting them; after the commit, forget them.
    void writeUpdates();
    void commitUpdates();

    // --- events and views
    Events& events() { return events_; }
    // Bound views stop following the dataset until the same number of enableControls()
    // calls; then they are brought up to date once. See ControlsDisabled.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return disabledCount_ > 0; }

signals:
    // For views; not sent while controls are disabled.
    void aboutToReset();
    void reset();
    void rowAboutToBeInserted(int row);
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void currentRowChanged(int row);
    void columnsChanged();
    void stateChanged(dataset::Dataset::State state);

private:
    friend class Column;
    friend class Field;
    friend class Record;

    enum class Pending { Inserted, Modified, Deleted };
    struct PendingChange {
        Pending kind;
        quint64 sequence;                  // order of the first change
        std::vector<detail::Cell> before;  // values before the first change (Modified, Deleted)
        std::vector<bool> changed;         // columns to write (Modified)
    };
    struct SlotMeta {
        qint64 rowid = 0;       // 0: not in the table
        bool deleted = false;
    };

    int requireIndex(const QString& name) const;
    void requireOpen() const;
    void requireEditing() const;
    int currentSlot() const { return current_ < 0 ? -1 : rows_[current_]; }
    detail::StoreKind kindOf(int column) const { return stores_[column]->kind(); }

    // loading
    struct ColumnSetup;
    struct LoadedRows;
    void runStatement();
    ColumnSetup setUpColumns(const QList<sql::ColumnInfo>& result, int firstColumn);
    LoadedRows readRows(sql::Query& query, bool hasRow, int firstColumn, ColumnSetup& setup) const;
    void install(ColumnSetup& setup, LoadedRows& rows);
    void clearRows();
    int appendSlot();
    void columnSettingsChanged();

    // rows, filter, sort
    void rebuildRows();
    bool passesFilter(int slot) const;
    bool slotLess(int slotA, int slotB) const;
    std::vector<int> sortColumns() const;
    void placeSortedRow();

    // cursor
    void placeCursor(int row, bool bof, bool eof);  // without telling anyone
    bool setCurrent(int row, bool bof, bool eof);   // tells the views; true when the row changed
    void scrolled();
    void refilter(bool keepCurrentRow);

    // editing
    void requireModifiable() const;
    bool insertRow(bool atEnd);
    void setFieldValue(int column, const QVariant& value);
    std::vector<bool> changedColumns(int slot) const;
    std::vector<detail::Cell> cellsOf(int slot) const;
    void restoreCells(int slot, const std::vector<detail::Cell>& cells);
    detail::Cell inputCell(int column, const QVariant& input) const;
    detail::Cell cutToWidth(int column, const detail::Cell& cell) const;
    void checkWidths() const;
    void removeRow(int row);
    void dropSlot(int slot);
    void enterState(State state);

    // writing back (DatasetWrite.cpp)
    bool writesToTable() const { return !updateTable_.isEmpty(); }
    qint64 writeInsert(int slot);
    void writeUpdate(int slot, const std::vector<bool>& changed);
    void writeDelete(int slot);
    void recordPendingPost(State postedState);
    void recordPendingDelete(int slot);

    // views
    void notifyViews(const std::function<void()>& notify);
    void beginReset();
    void endReset();

    sql::Connection* connection_ = nullptr;
    QString commandText_;
    sql::Params params_;
    bool inMemory_ = false;
    QString updateTable_;

    std::vector<std::unique_ptr<Column>> columns_;
    std::vector<std::unique_ptr<detail::ColumnStore>> stores_;
    std::vector<SlotMeta> slots_;
    std::vector<int> order_;  // live slots in statement and insertion order
    std::vector<int> rows_;   // the rows shown: order_ filtered and sorted

    int current_ = -1;
    bool bof_ = true;
    bool eof_ = true;

    QString filterText_;
    QStringList filterColumns_;
    RowFilter filter_;
    bool filtered_ = false;
    QString indexFieldNames_;

    State state_ = State::Inactive;
    bool modified_ = false;
    bool readOnly_ = false;
    std::vector<detail::Cell> editBefore_;  // the row's values when editing began
    int rowBeforeInsert_ = -1;

    UpdateMode updateMode_ = UpdateMode::Immediate;
    QHash<int, PendingChange> pending_;
    quint64 pendingSequence_ = 0;
    QHash<int, qint64> writtenRowids_;  // rowids of new rows written, until commitUpdates()

    Events events_;
    int disabledCount_ = 0;
    bool viewsStale_ = false;
};

// Suspends the views of a dataset for a scope: { ControlsDisabled quiet(ds); ... }
class ControlsDisabled {
public:
    explicit ControlsDisabled(Dataset& dataset) : dataset_(dataset) { dataset_.disableControls(); }
    ~ControlsDisabled() { dataset_.enableControls(); }
    ControlsDisabled(const ControlsDisabled&) = delete;
    ControlsDisabled& operator=(const ControlsDisabled&) = delete;

private:
    Dataset& dataset_;
};

// Writes the pending changes of several datasets in one transaction on the connection
// (each dataset's rows in the order of Dataset::applyUpdates); on failure rolls back,
// keeps every dataset's pending changes and throws.
void applyUpdates(sql::Connection& connection, std::initializer_list<Dataset*> datasets);

} // namespace dataset
