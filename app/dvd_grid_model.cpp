#include "app/dvd_grid_model.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPalette>

#include "data/catalogue_schema.h"
#include "data/data_source.h"
#include "data/sjis.h"

namespace tamboro {

const std::vector<DvdGridModel::Column>& DvdGridModel::titleColumns() {
    static const std::vector<Column> columns = [] {
        const QColor face = QApplication::palette().color(QPalette::Button);
        const QColor paleYellow(255, 255, 128);
        const char* date = "2004/12/25";
        const char* discNo = "D00001";
        return std::vector<Column>{
            {fld::Code, nullptr, 32, face, "000000"},  // codes run to six digits
            {fld::Title, nullptr, 228, paleYellow},
            {fld::Rating, nullptr, 30, {}},
            {fld::WatchedDate, nullptr, 0, {}, date},
            {fld::WatchCount, nullptr, 30, {}},
            {fld::RunningTime, "時間", 36, {}},
            {fld::BoxNo, nullptr, 50, {}, discNo},
            {fld::DvdNo, nullptr, 50, {}, discNo},
            {fld::PictureLevel, "画質", 30, {}},
            {fld::SoundLevel, "音質", 30, {}},
            {fld::SubTitle, nullptr, 205, {}},
            {fld::EnglishTitle, nullptr, 217, {}},
            {fld::Edition, "エディション", 205, {}},
            {fld::PurchaseDate, nullptr, 74, {}, date},
            {fld::Year, nullptr, 0, {}},
            {fld::Country, nullptr, 79, {}},
            {fld::Director, nullptr, 211, {}},
            {fld::cast(1), nullptr, 211, {}},
            {fld::cast(2), nullptr, 211, {}},
            {fld::cast(3), nullptr, 211, {}},
            {fld::cast(4), nullptr, 211, {}},
            {fld::cast(5), nullptr, 211, {}},
            {fld::Production, nullptr, 211, {}},
            {fld::ExecProducer, nullptr, 211, {}},
            {fld::Photography, nullptr, 211, {}},
            {fld::Music, nullptr, 211, {}},
            {fld::Original, nullptr, 211, {}},
            {fld::Screenplay, nullptr, 211, {}},
        };
    }();
    return columns;
}

DvdGridModel::DvdGridModel(DataSource& source, QObject* parent)
    : QAbstractTableModel(parent), source_(source), table_(source.table()) {
    resolveFields();
    wasInserting_ = inserting();
    lastCursorRow_ = cursorRow();
    source_.attach(this);
}

DvdGridModel::~DvdGridModel() { source_.detach(this); }

int DvdGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !table_.active()) return 0;
    return table_.recordCount() + (inserting() ? 1 : 0);
}

int DvdGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(titleColumns().size());
}

QVariant DvdGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() >= columnCount()) return {};
    const Column& c = titleColumns()[static_cast<size_t>(index.column())];
    switch (role) {
    case Qt::DisplayRole: {
        const int f = fields_[static_cast<size_t>(index.column())];
        if (f < 0 || !table_.active()) return QString();
        const int pos = tablePosition(index.row());
        // The row being inserted is the edit buffer, read as the current record.
        Field field = pos == -2 ? table_.field(f) : table_.fieldAt(f, pos);
        return QString::fromStdString(field.displayTextUtf8());
    }
    case Qt::BackgroundRole:
        return c.background.isValid() ? QVariant(c.background) : QVariant();
    default: return {};
    }
}

QVariant DvdGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= columnCount()) return {};
        const Column& c = titleColumns()[static_cast<size_t>(section)];
        if (role == Qt::DisplayRole)
            return c.title ? QString::fromUtf8(c.title) : QString::fromUtf8(c.field.data(), static_cast<qsizetype>(c.field.size()));
        if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
        return {};
    }
    // The row indicator: a pointer on the current record, a star on a new one.
    if (role == Qt::DisplayRole) {
        if (section != cursorRow()) return QString();
        return inserting() ? QStringLiteral("*") : QStringLiteral("▶");
    }
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}

Qt::ItemFlags DvdGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

int DvdGridModel::columnWidth(int column, const QFontMetrics& fm) const {
    const Column& c = titleColumns()[static_cast<size_t>(column)];
    if (c.width > 0) return c.width;
    // As wide as the type's usual text or the title, whichever is wider.
    int chars = 10;
    const int f = fields_[static_cast<size_t>(column)];
    if (f >= 0) {
        switch (table_.schema()[static_cast<size_t>(f)].type) {
        case FieldType::Int16: chars = 6; break;
        case FieldType::Int32: chars = 11; break;
        case FieldType::Date: chars = 10; break;
        case FieldType::DateTime: chars = 18; break;
        default: chars = std::max(1, std::min(table_.schema()[static_cast<size_t>(f)].width, 64)); break;
        }
    }
    const int text = chars * fm.horizontalAdvance(QLatin1Char('0'));
    const int title = fm.horizontalAdvance(headerData(column, Qt::Horizontal).toString());
    return std::max(text, title) + 4;
}

QString DvdGridModel::widestText(int column) const {
    const char* text = titleColumns()[static_cast<size_t>(column)].widest;
    return text ? QString::fromUtf8(text) : QString();
}

bool DvdGridModel::inserting() const {
    return table_.active() && table_.state() == TableState::Insert && table_.pendingRowPosition() >= 0;
}

int DvdGridModel::tablePosition(int row) const {
    if (!inserting()) return row;
    const int pending = std::min(table_.pendingRowPosition(), table_.recordCount());
    if (row == pending) return -2;
    return row > pending ? row - 1 : row;
}

int DvdGridModel::cursorRow() const {
    if (!table_.active()) return -1;
    if (inserting()) return std::min(table_.pendingRowPosition(), table_.recordCount());
    return table_.recNo();
}

void DvdGridModel::moveCursorTo(int row) {
    if (!table_.active() || row < 0) return;
    const int pos = tablePosition(row);
    if (pos == -2) return;
    table_.moveTo(pos);
}

void DvdGridModel::resolveFields() {
    fields_.clear();
    for (const Column& c : titleColumns()) fields_.push_back(table_.schema().indexOf(sj(c.field)));
}

void DvdGridModel::reset() {
    beginResetModel();
    resolveFields();
    wasInserting_ = inserting();
    endResetModel();
    lastCursorRow_ = -2;  // always announce after a reset: the view lost its current row
    announceCursor();
}

void DvdGridModel::announceCursor() {
    const int row = cursorRow();
    if (row == lastCursorRow_) return;
    const int old = lastCursorRow_;
    lastCursorRow_ = row;
    const int rows = rowCount();
    if (old >= 0 && old < rows) emit headerDataChanged(Qt::Vertical, old, old);
    if (row >= 0 && row < rows) emit headerDataChanged(Qt::Vertical, row, row);
    emit cursorRowChanged(row);
}

void DvdGridModel::activeChanged() { reset(); }

void DvdGridModel::rowsChanged() { reset(); }

void DvdGridModel::currentChanged() {
    if (inserting() != wasInserting_) reset();
    else announceCursor();
}

void DvdGridModel::stateChanged() {
    if (inserting() != wasInserting_) {
        reset();
        return;
    }
    const int row = cursorRow();
    if (row >= 0 && row < rowCount()) {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::DisplayRole});
        emit headerDataChanged(Qt::Vertical, row, row);
    }
}

void DvdGridModel::fieldChanged(int field) {
    const int row = cursorRow();
    if (row < 0 || row >= rowCount()) return;
    for (size_t c = 0; c < fields_.size(); ++c)
        if (fields_[c] == field) emit dataChanged(index(row, static_cast<int>(c)), index(row, static_cast<int>(c)), {Qt::DisplayRole});
}

}  // namespace tamboro
