#pragma once
#include <QTableView>
#include <memory>
#include <vector>

#include "controls/table_model.h"

class QLineEdit;

namespace tamboro {

class DataSource;
class FieldLink;

// A data grid that edits its table in place. Typing into a cell starts
// editing the current row; F2 opens the cell editor on the current value;
// Insert inserts a row before the current one; moving down from the last row
// appends one; Ctrl+Delete deletes the current row after the deletion
// question; Escape abandons the row's changes. Moving to another row lets the
// table complete the row it leaves (a changed row is posted, an untouched
// new row dropped).
//
// The cell editor holds the only pending text: it is written into the row
// when the user moves on, when a navigator posts, and when the focus leaves
// the grid. A text the table refuses shows the engine's message in the
// default error box and keeps the editor open on the row being edited.
class TDBGrid : public QTableView {
    Q_OBJECT
public:
    TDBGrid(DataSource& source, std::vector<TableColumn> columns, QWidget* parent = nullptr);
    ~TDBGrid() override;

    TableModel* tableModel() const { return model_; }
    Table& table() const { return model_->table(); }
    QLineEdit* cellEditor() const { return editor_; }
    bool editorShown() const;
    // The column typing and F2 edit: the current cell's, or the last one had.
    int editColumn() const { return column_; }

    // Opens the cell editor on the current cell with the field's value (F2).
    void showEditor();
    // Writes the cell editor's pending text into the row and closes the
    // editor. False when the table refused it: the message is shown and the
    // editor stays open with the focus.
    bool writeCell() { return write(false); }
    // The cell editor still holds a text the table refused, unchanged since.
    bool textRefused() const { return refused_; }

    void keyboardSearch(const QString& search) override;

signals:
    // The focus left the grid for another control of its window, after the
    // grid wrote the cell being edited and dropped an untouched new row.
    void exited();

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void setUpHeaders();
    void setUpEditor();
    bool write(bool reportLater);
    void typeInto(const QString& text);
    bool editorKey(QKeyEvent* e);
    bool refusesChar(const QString& text) const;
    void openEditor(const QString& text, bool changed);
    void hideEditor();
    void placeEditor();
    void abandonRow();
    void deleteRow();
    void moveDown();
    void rowChosen(int row);
    void followCursor(int row);
    void focusMoved(QWidget* now);
    void leaveGrid();

    DataSource& source_;
    TableModel* model_;
    QLineEdit* editor_ = nullptr;
    std::unique_ptr<FieldLink> link_;
    int column_ = 0;
    bool following_ = false;  // the view is being set to the table's cursor
    bool hadFocus_ = false;   // the grid or its editor had the window's focus
    bool refused_ = false;
};

}  // namespace tamboro
