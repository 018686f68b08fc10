#include "controls/table_model.h"

#include <QFontMetrics>
#include <algorithm>

#include "controls/sjis_qt.h"
#include "data/data_source.h"
#include "data/sjis.h"

namespace tamboro {
namespace {

// Counts the table notifications being followed, however the handler ends.
struct Following {
    int& depth;
    explicit Following(int& d) : depth(d) { ++depth; }
    ~Following() { --depth; }
};

}  // namespace

TableModel::TableModel(DataSource& source, std::vector<TableColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), source_(source), table_(source.table()), columns_(std::move(columns)) {
    resolveFields();
    rows_ = table_.shownRowCount();
    lastCursorRow_ = cursorRow();
    source_.attach(this);
}

TableModel::~TableModel() { source_.detach(this); }

int TableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int TableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

int TableModel::shownRow(int row) const {
    switch (change_.kind) {
    case Change::None: return row;
    case Change::Inserted: return row < change_.a ? row : row + change_.b;
    case Change::Removed:
        if (row < change_.a) return row;
        return row < change_.a + change_.b ? -1 : row - change_.b;
    case Change::Moved: {
        if (row == change_.a) return change_.b;
        const int without = row > change_.a ? row - 1 : row;
        return without >= change_.b ? without + 1 : without;
    }
    }
    return row;
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() >= columnCount() || index.row() >= rows_) return {};
    const TableColumn& c = column(index.column());
    switch (role) {
    case Qt::DisplayRole: {
        const int f = fieldIndex(index.column());
        const int row = shownRow(index.row());
        if (f < 0 || row < 0 || row >= table_.shownRowCount()) return QString();
        const bool inserting = table_.state() == TableState::Insert;
        const int pending = table_.pendingRowPosition();
        // The row being inserted is the edit buffer, read as the current record.
        if (inserting && row == pending) return fieldText(table_.field(f));
        const int position = inserting && row > pending ? row - 1 : row;
        return fieldText(table_.fieldAt(f, position));
    }
    case Qt::BackgroundRole: return c.background.isValid() ? QVariant(c.background) : QVariant();
    case Qt::TextAlignmentRole: return c.alignment ? QVariant::fromValue(c.alignment) : QVariant();
    default: return {};
    }
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= columnCount()) return {};
        const TableColumn& c = column(section);
        if (role == Qt::DisplayRole)
            return c.title.isEmpty() ? QString::fromUtf8(c.field.data(), static_cast<qsizetype>(c.field.size()))
                                     : c.title;
        if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        return {};
    }
    // The row indicator: a pointer on the current record, a star on a new one.
    if (role == Qt::DisplayRole) {
        if (section != cursorRow() || change_.kind != Change::None) return QString();
        return table_.state() == TableState::Insert ? QStringLiteral("*") : QStringLiteral("▶");
    }
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

int TableModel::columnWidth(int c, const QFontMetrics& fm) const {
    const TableColumn& col = column(c);
    if (col.width > 0) return col.width;
    // As wide as the type's usual text or the title, whichever is wider.
    int chars = 10;
    const int f = fieldIndex(c);
    if (f >= 0) {
        const FieldDef& def = table_.schema()[static_cast<size_t>(f)];
        switch (def.type) {
        case FieldType::Int16: chars = 6; break;
        case FieldType::Int32: chars = 11; break;
        case FieldType::Date: chars = 10; break;
        case FieldType::DateTime: chars = 18; break;
        default: chars = std::clamp(def.width, 1, 64); break;
        }
    }
    const int text = chars * fm.horizontalAdvance(QLatin1Char('0'));
    const int title = fm.horizontalAdvance(headerData(c, Qt::Horizontal).toString());
    return std::max(text, title) + 4;
}

int TableModel::cursorRow() const {
    if (!table_.active()) return -1;
    if (table_.state() == TableState::Insert) return table_.pendingRowPosition();
    return table_.recNo();
}

void TableModel::moveCursorTo(int row) {
    if (following_ > 0 || !table_.active() || row < 0) return;
    if (table_.state() == TableState::Insert) {
        const int pending = table_.pendingRowPosition();
        if (row == pending) return;
        if (row > pending) --row;  // the new row is posted or dropped first
    }
    table_.moveTo(row);
}

void TableModel::resolveFields() {
    fields_.clear();
    for (const TableColumn& c : columns_)
        fields_.push_back(table_.active() ? table_.schema().indexOf(sj(c.field)) : -1);
}

void TableModel::reset() {
    Following following(following_);
    beginResetModel();
    resolveFields();
    rows_ = table_.shownRowCount();
    endResetModel();
    lastCursorRow_ = -2;  // the views lost their current row: always tell
    announceCursor();
}

bool TableModel::consistentAfter(int delta) {
    if (rows_ + delta == table_.shownRowCount()) return true;
    reset();
    return false;
}

void TableModel::rowsInserted(int first, int count) {
    if (!consistentAfter(count)) return;
    Following following(following_);
    change_ = {Change::Inserted, first, count};
    beginInsertRows({}, first, first + count - 1);
    rows_ += count;
    change_ = {};
    endInsertRows();
    lastCursorRow_ = -2;
}

void TableModel::rowsRemoved(int first, int count) {
    if (!consistentAfter(-count)) return;
    Following following(following_);
    change_ = {Change::Removed, first, count};
    beginRemoveRows({}, first, first + count - 1);
    rows_ -= count;
    change_ = {};
    endRemoveRows();
    lastCursorRow_ = -2;
}

void TableModel::rowMoved(int from, int to) {
    if (!consistentAfter(0)) return;
    Following following(following_);
    change_ = {Change::Moved, from, to};
    // Qt counts the destination in the rows before the move.
    if (beginMoveRows({}, from, from, {}, to > from ? to + 1 : to)) {
        change_ = {};
        endMoveRows();
    }
    change_ = {};
    rowDataChanged(to);  // a posted row may carry new values
    lastCursorRow_ = -2;
}

void TableModel::rowChanged(int row) {
    if (!consistentAfter(0)) return;
    Following following(following_);
    rowDataChanged(row);
}

void TableModel::rowDataChanged(int row) {
    if (row < 0 || row >= rows_ || columns_.empty()) return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::DisplayRole});
    emit headerDataChanged(Qt::Vertical, row, row);
}

void TableModel::stateChanged() {
    // The current row now shows the edit buffer, or its stored values again.
    Following following(following_);
    rowDataChanged(cursorRow());
}

void TableModel::fieldChanged(int field) {
    Following following(following_);
    const int row = cursorRow();
    if (row < 0 || row >= rows_) return;
    for (size_t c = 0; c < fields_.size(); ++c)
        if (fields_[c] == field) emit dataChanged(index(row, static_cast<int>(c)), index(row, static_cast<int>(c)), {Qt::DisplayRole});
}

void TableModel::announceCursor() {
    Following following(following_);
    const int row = cursorRow();
    if (row == lastCursorRow_) return;
    const int old = lastCursorRow_;
    lastCursorRow_ = row;
    if (old >= 0 && old < rows_) emit headerDataChanged(Qt::Vertical, old, old);
    if (row >= 0 && row < rows_) emit headerDataChanged(Qt::Vertical, row, row);
    emit cursorRowChanged(row);
}

}  // namespace tamboro
