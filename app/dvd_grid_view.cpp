#include "app/dvd_grid_view.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QKeyEvent>

namespace tamboro {

DvdGridView::DvdGridView(QWidget* parent) : QTableView(parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(true);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    QHeaderView* rows = verticalHeader();
    // Fixed, uniform rows: the view never measures rows, whatever their number.
    rows->setMinimumSectionSize(1);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 5);
    rows->setFixedWidth(14);
    rows->setSectionsClickable(false);
    rows->setHighlightSections(false);

    QHeaderView* columns = horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setDefaultAlignment(Qt::AlignCenter);
    columns->setHighlightSections(false);
    columns->setSectionsClickable(false);
    columns->setMinimumSectionSize(4);
    columns->setStretchLastSection(false);
    watchDoubleClicks();
}

void DvdGridView::watchDoubleClicks() {
    viewport()->installEventFilter(this);
    horizontalHeader()->viewport()->installEventFilter(this);
    verticalHeader()->viewport()->installEventFilter(this);
    if (auto* corner = findChild<QAbstractButton*>()) corner->installEventFilter(this);
}

bool DvdGridView::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonDblClick && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        emit gridDoubleClicked();
        return true;
    }
    return QTableView::eventFilter(watched, e);
}

QModelIndex DvdGridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if ((modifiers & Qt::ControlModifier) && (action == MoveHome || action == MoveEnd) && model() &&
        model()->rowCount() > 0) {
        const int row = action == MoveHome ? 0 : model()->rowCount() - 1;
        return model()->index(row, std::max(0, currentIndex().column()));
    }
    return QTableView::moveCursor(action, modifiers);
}

void DvdGridView::keyPressEvent(QKeyEvent* e) {
    const QString text = e->text();
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) emit charTyped(QChar(13));
    else if (text.size() == 1) emit charTyped(text.front());
    QTableView::keyPressEvent(e);
}

}  // namespace tamboro
