#pragma once
#include <QTableView>

namespace tamboro {

// The browse grid: read-only, whole-row highlight, a row indicator and a
// title row. It reports a double-click on its rows, title row or row
// indicator (not on its scroll bars) and every typed character before
// handling it. Typed letters do not search: only navigation keys and the
// mouse move it.
class DvdGridView : public QTableView {
    Q_OBJECT
public:
    explicit DvdGridView(QWidget* parent = nullptr);

    // The width a column needs so that its title and the given cell text
    // show whole in the grid's font and style.
    int widthToShow(int column, const QString& cellText) const;

    void keyboardSearch(const QString& search) override;

signals:
    void gridDoubleClicked();
    // A typed character; the grid handles the key afterwards as usual.
    void charTyped(QChar ch);

protected:
    // Ctrl+Home and Ctrl+End go to the first and last title and keep the
    // column, as in a data grid; Home and End still go along the row.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void watchDoubleClicks();
    bool opensOnDoubleClick(const QObject* watched) const;

    QWidget* titleCorner_ = nullptr;  // the button where title row and indicator meet
};

}  // namespace tamboro
