#include "app/dvd_grid_view.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <cmath>

#include "controls/grid_headers.h"

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

    setUpDataGridHeaders(*this);
    QHeaderView* columns = horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setMinimumSectionSize(4);
    watchDoubleClicks();
}

void DvdGridView::watchDoubleClicks() {
    viewport()->installEventFilter(this);
    horizontalHeader()->viewport()->installEventFilter(this);
    verticalHeader()->viewport()->installEventFilter(this);
    titleCorner_ = findChild<QAbstractButton*>();
    if (titleCorner_) titleCorner_->installEventFilter(this);
}

// The scroll area filters its scroll bars through this same function; two
// clicks there scroll and must not open a title the user may not see.
bool DvdGridView::opensOnDoubleClick(const QObject* watched) const {
    return watched == viewport() || watched == horizontalHeader()->viewport() ||
           watched == verticalHeader()->viewport() || (titleCorner_ && watched == titleCorner_);
}

bool DvdGridView::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonDblClick && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton &&
        opensOnDoubleClick(watched)) {
        emit gridDoubleClicked();
        return true;
    }
    return QTableView::eventFilter(watched, e);
}

int DvdGridView::widthToShow(int column, const QString& cellText) const {
    const int title = horizontalHeader()->sectionSizeHint(column);
    if (cellText.isEmpty()) return title;
    // A cell's text is inset by the focus frame's margin and one pixel on
    // each side, and the grid line takes one more.
    const int inset = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    const auto text = static_cast<int>(std::ceil(QFontMetricsF(font()).horizontalAdvance(cellText)));
    const int cell = text + inset + (showGrid() ? 1 : 0);
    return std::max(title, cell);
}

// Letters typed in the grid do not jump to a title.
void DvdGridView::keyboardSearch(const QString&) {}

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
