// Writing the rows of a dataset back to its table: at once, or held as pending
// changes until they are applied together.

#include "dataset/Dataset.h"

#include <QStringList>
#include <algorithm>
#include <sqlite3.h>

namespace dataset {

using detail::Cell;

namespace {

QString parameterName(std::size_t column) {
    return QStringLiteral("v%1").arg(column);
}

} // namespace

qint64 Dataset::writeInsert(int slot) {
    QStringList names;
    QStringList values;
    sql::Params params;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        names << columns_[c]->originName();
        values << QLatin1Char(':') + parameterName(c);
        params.append({parameterName(c), detail::storedValue(kindOf(int(c)), stores_[c]->get(slot))});
    }
    connection_->execute(QStringLiteral("insert into %1 (%2) values (%3)")
                             .arg(updateTable_, names.join(QLatin1Char(',')), values.join(QLatin1Char(','))),
                         params);
    return sqlite3_last_insert_rowid(connection_->handle());
}

void Dataset::writeUpdate(int slot, const std::vector<bool>& changed) {
    QStringList assignments;
    sql::Params params;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        if (!changed[c])
            continue;
        assignments << QStringLiteral("%1=:%2").arg(columns_[c]->originName(), parameterName(c));
        params.append({parameterName(c), detail::storedValue(kindOf(int(c)), stores_[c]->get(slot))});
    }
    if (assignments.isEmpty())
        return;
    params.append({QStringLiteral("rowid"), slots_[slot].rowid});
    const int written = connection_->execute(
        QStringLiteral("update %1 set %2 where _rowid_=:rowid").arg(updateTable_, assignments.join(QLatin1Char(','))),
        params);
    if (written == 0)
        throw Error(QStringLiteral("要修改的行在表 %1 中已不存在").arg(updateTable_));
}

void Dataset::writeDelete(int slot) {
    const int written = connection_->execute(QStringLiteral("delete from %1 where _rowid_=:rowid").arg(updateTable_),
                                             {{QStringLiteral("rowid"), slots_[slot].rowid}});
    if (written == 0)
        throw Error(QStringLiteral("要删除的行在表 %1 中已不存在").arg(updateTable_));
}

void Dataset::recordPendingPost(State postedState) {
    const int slot = currentSlot();
    if (postedState == State::Insert) {
        pending_.insert(slot, PendingChange{Pending::Inserted, ++pendingSequence_, {}, {}});
        return;
    }
    const std::vector<bool> changed = changedColumns(slot);
    if (std::none_of(changed.begin(), changed.end(), [](bool c) { return c; }))
        return;
    const auto found = pending_.find(slot);
    if (found == pending_.end()) {
        pending_.insert(slot, PendingChange{Pending::Modified, ++pendingSequence_, editBefore_, changed});
    } else if (found->kind == Pending::Modified) {
        for (std::size_t c = 0; c < changed.size(); ++c)
            found->changed[c] = found->changed[c] || changed[c];
    }
}

// A new row that was never written just goes; any other row is deleted when applied
// and keeps its values before its first change, for cancelUpdates().
void Dataset::recordPendingDelete(int slot) {
    const auto found = pending_.find(slot);
    if (found != pending_.end() && found->kind == Pending::Inserted) {
        dropSlot(slot);
        return;
    }
    slots_[slot].deleted = true;
    if (found == pending_.end())
        pending_.insert(slot, PendingChange{Pending::Deleted, ++pendingSequence_, {}, {}});
    else
        found->kind = Pending::Deleted;
}

void Dataset::writeUpdates() {
    requireOpen();
    if (!checkBrowseMode())
        return;
    writtenRowids_.clear();
    // Deleted rows first, then changed rows, then new rows: a code can move from a
    // deleted row to a new one without clashing with itself.
    auto rank = [](Pending kind) { return kind == Pending::Deleted ? 0 : kind == Pending::Modified ? 1 : 2; };
    const QList<int> changedSlots = pending_.keys();
    std::vector<int> order(changedSlots.begin(), changedSlots.end());
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const PendingChange& x = *pending_.constFind(a);
        const PendingChange& y = *pending_.constFind(b);
        return std::make_pair(rank(x.kind), x.sequence) < std::make_pair(rank(y.kind), y.sequence);
    });
    for (const int slot : order) {
        const PendingChange& change = *pending_.constFind(slot);
        switch (change.kind) {
        case Pending::Deleted:
            writeDelete(slot);
            break;
        case Pending::Modified:
            writeUpdate(slot, change.changed);
            break;
        case Pending::Inserted:
            writtenRowids_.insert(slot, writeInsert(slot));
            break;
        }
    }
}

void Dataset::commitUpdates() {
    for (auto it = pending_.cbegin(); it != pending_.cend(); ++it) {
        if (it->kind == Pending::Inserted)
            slots_[it.key()].rowid = writtenRowids_.value(it.key());
        else if (it->kind == Pending::Deleted)
            order_.erase(std::find(order_.begin(), order_.end(), it.key()));
    }
    pending_.clear();
    writtenRowids_.clear();
}

void Dataset::cancelUpdates() {
    requireOpen();
    cancel();
    if (pending_.isEmpty())
        return;
    const int slot = currentSlot();
    beginReset();
    for (auto it = pending_.cbegin(); it != pending_.cend(); ++it) {
        if (!it->before.empty())
            restoreCells(it.key(), it->before);
        const bool inserted = it->kind == Pending::Inserted;
        slots_[it.key()].deleted = inserted;
        if (inserted)
            order_.erase(std::find(order_.begin(), order_.end(), it.key()));
    }
    pending_.clear();
    writtenRowids_.clear();
    rebuildRows();
    const auto found = std::find(rows_.begin(), rows_.end(), slot);
    placeCursor(found != rows_.end() ? int(found - rows_.begin()) : (isEmpty() ? -1 : 0), false, isEmpty());
    endReset();
    notifyViews([&] { emit currentRowChanged(current_); });
    scrolled();
}

void Dataset::applyUpdates() {
    requireOpen();
    if (!writesToTable())
        return;
    dataset::applyUpdates(*connection_, {this});
}

void applyUpdates(sql::Connection& connection, std::initializer_list<Dataset*> datasets) {
    const bool ownTransaction = !connection.inTransaction();
    if (ownTransaction)
        connection.beginTransaction();
    try {
        for (Dataset* dataset : datasets)
            dataset->writeUpdates();
        if (ownTransaction)
            connection.commit();
    } catch (...) {
        if (ownTransaction && connection.inTransaction())
            connection.rollback();
        throw;
    }
    for (Dataset* dataset : datasets)
        dataset->commitUpdates();
}

} // namespace dataset
