#pragma once
#include <QTableView>

namespace tamboro {

// The browse grid: read-only, whole-row highlight, a row indicator and a
// title row. It reports a double-click anywhere on it (title row and
// indicator included) and every typed character before handling it.
class DvdGridView : public QTableView {
    Q_OBJECT
public:
    explicit DvdGridView(QWidget* parent = nullptr);

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
};

}  // namespace tamboro
