#pragma once
#include <QAbstractTableModel>
#include <QColor>
#include <QString>
#include <string_view>
#include <vector>

#include "data/table.h"

class QFontMetrics;

namespace tamboro {

class DataSource;

// One column of a grid over a table.
struct TableColumn {
    std::string_view field;           // UTF-8 field name, one of the schema's constants
    QString title = {};               // empty: the field name
    int width = 0;                    // pixels; 0: room for the field's usual text and the title
    QColor background = {};           // invalid: the grid's own
    Qt::Alignment alignment = {};     // empty: the view's own
    QString widest = {};              // the widest usual value, which should show whole
};

// A table model over the rows a table shows (its visible rows, and while a
// row is being inserted, that row at its place), reached through the table's
// data source. It copies nothing: cells are read from the table when they
// are painted, so a large table costs no more than the rows on screen.
//
// It follows the table's row notifications with row insertions, removals,
// moves and data changes, so a view keeps its current cell, its selection
// and an open cell editor across a post; only whole changes (opening,
// closing, filter, order, another master row) reset it. The model's cursor
// row is the table's current record.
class TableModel : public QAbstractTableModel, private TableObserver {
    Q_OBJECT
public:
    TableModel(DataSource& source, std::vector<TableColumn> columns, QObject* parent = nullptr);
    ~TableModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    Table& table() const { return table_; }
    const TableColumn& column(int c) const { return columns_[static_cast<size_t>(c)]; }
    // The column's field in the open table, -1 when the table lacks it.
    int fieldIndex(int column) const { return fields_[static_cast<size_t>(column)]; }
    // Width of a column in pixels for the font the grid uses.
    int columnWidth(int column, const QFontMetrics& fm) const;

    // The row of the table's current record, -1 for none.
    int cursorRow() const;
    // Makes a row the table's current record (the table's own errors pass).
    // Ignored while the model is following a change of the table, when a
    // view's own adjustment of its current row must not move the table.
    void moveCursorTo(int row);

signals:
    // The table's current record is at this row now (also after a reset or a
    // change of rows that moved it).
    void cursorRowChanged(int row);

private:
    // Between the begin and end of a bracketed change, rows are numbered as
    // before it while the table is already changed; this maps the numbering.
    struct Change {
        enum Kind { None, Inserted, Removed, Moved } kind = None;
        int a = 0, b = 0;  // first and count, or from and to
    };

    void activeChanged() override { reset(); }
    void rowsChanged() override { reset(); }
    void rowsInserted(int first, int count) override;
    void rowsRemoved(int first, int count) override;
    void rowMoved(int from, int to) override;
    void rowChanged(int row) override;
    void currentChanged() override { announceCursor(); }
    void stateChanged() override;
    void fieldChanged(int field) override;

    void reset();
    void resolveFields();
    bool consistentAfter(int delta);  // resets when the table is not as told
    int shownRow(int row) const;      // the table's shown row for a model row; -1: gone
    void rowDataChanged(int row);
    void announceCursor();

    DataSource& source_;
    Table& table_;
    std::vector<TableColumn> columns_;
    std::vector<int> fields_;  // field index per column, -1 when missing
    int rows_ = 0;             // the row count the views know
    Change change_;
    int following_ = 0;        // depth of table notifications being followed
    int lastCursorRow_ = -1;
};

}  // namespace tamboro
