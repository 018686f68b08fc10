#include "controls/grid_headers.h"

#include <QHeaderView>
#include <QTableView>

namespace tamboro {

void setUpDataGridHeaders(QTableView& view) {
    QHeaderView* rows = view.verticalHeader();
    rows->setMinimumSectionSize(1);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(view.fontMetrics().height() + 5);
    rows->setFixedWidth(14);
    rows->setSectionsClickable(false);
    rows->setHighlightSections(false);

    QHeaderView* columns = view.horizontalHeader();
    columns->setDefaultAlignment(Qt::AlignCenter);
    columns->setHighlightSections(false);
    columns->setSectionsClickable(false);
    columns->setStretchLastSection(false);
}

}  // namespace tamboro
