#pragma once
#include <QAbstractTableModel>
#include <QColor>
#include <string_view>
#include <vector>

#include "data/table.h"

class QFontMetrics;

namespace tamboro {

class DataSource;

// A read-only table model over the visible rows of a table reached through
// its data source. It copies nothing: cells are read from the table when
// painted, so a large catalogue costs no more than the rows on screen. The
// model's current row is the table's current record, and a new row being
// inserted shows at its place.
class DvdGridModel : public QAbstractTableModel, private TableObserver {
    Q_OBJECT
public:
    struct Column {
        std::string_view field;  // UTF-8 field name
        const char* title;       // UTF-8; null: the field name
        int width;               // pixels; 0: the field's default
        QColor background;       // invalid: the grid's own
        const char* widest = nullptr;  // UTF-8; the widest usual value, which must show whole
    };

    explicit DvdGridModel(DataSource& source, QObject* parent = nullptr);
    ~DvdGridModel() override;

    // The columns of the title grid, left to right.
    static const std::vector<Column>& titleColumns();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Width of a column in pixels for the font the grid uses.
    int columnWidth(int column, const QFontMetrics& fm) const;
    // The widest usual value of a column, empty when none is given.
    QString widestText(int column) const;

    // The row of the table's current record, -1 for none.
    int cursorRow() const;
    // Makes a row the table's current record (the table's own errors pass).
    void moveCursorTo(int row);

signals:
    // The table's current record moved to this row (also after a reset).
    void cursorRowChanged(int row);

private:
    void activeChanged() override;
    void rowsChanged() override;
    void currentChanged() override;
    void stateChanged() override;
    void fieldChanged(int field) override;

    void reset();
    void resolveFields();
    bool inserting() const;
    int tablePosition(int row) const;  // -2 for the row being inserted
    void announceCursor();

    DataSource& source_;
    Table& table_;
    std::vector<int> fields_;  // field index per column, -1 when missing
    bool wasInserting_ = false;
    int lastCursorRow_ = -1;
};

}  // namespace tamboro
