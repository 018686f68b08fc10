// The grids' table model: its columns, its cells, and how it follows the
// table through every kind of change, checked by Qt's model tester and by a
// view that must keep its current cell and an open editor across posts.
#include <QAbstractItemModelTester>
#include <QFont>
#include <QFontMetrics>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "controls/table_model.h"
#include "data/catalogue_schema.h"
#include "data/data_source.h"
#include "tests/data/table_fixture.h"

using namespace tamboro;
using namespace tamboro::test;

namespace {

std::vector<FieldDef> titleFields() {
    return {FieldDef::make(sj(fld::Code), FieldType::Int32), FieldDef::make(sj(fld::Title), FieldType::String, 40),
            FieldDef::make(sj(fld::Genre1), FieldType::Int16), FieldDef::make(sj(fld::PurchaseDate), FieldType::Date),
            FieldDef::make(sj(fld::Year), FieldType::Int16)};
}

std::vector<TableColumn> columns() {
    return {{fld::Code, {}, 32, QColor(Qt::lightGray)},
            {fld::Title, {}, 228, QColor(255, 255, 128)},
            {fld::Genre1, QStringLiteral("ジャンル")},
            {fld::PurchaseDate},
            {fld::Year, {}, 0, {}, Qt::AlignRight | Qt::AlignVCenter},
            {fld::Director}};  // not in this table
}

// Eight titles in a table of its own, saved in a temporary folder on close.
struct Titles {
    QTemporaryDir dir;
    Table t{"CDvd", std::filesystem::path(dir.path().toStdString()) / "DvdData.xml", Schema(titleFields())};
    DataSource source{"DvdSource", t};
    Titles() {
        t.setIndexFields(sj(fld::Code));
        t.openFrom(makePacket(titleFields(), {{I(1), S("七人の侍"), I(200), N(), N()},
                                              {I(2), S("スター・ウォーズ"), I(100), N(), N()},
                                              {I(3), S("となりのトトロ"), I(300), N(), N()},
                                              {I(4), S("ローマの休日"), I(100), I(38346), I(1953)},  // 2004/12/25
                                              {I(5), S("東京物語"), I(200), N(), N()},
                                              {I(6), S("カサブランカ"), I(100), N(), N()},
                                              {I(7), S("羅生門"), I(200), N(), N()},
                                              {I(8), S("アマデウス"), I(400), N(), N()}}));
    }
    void filter(const char* utf8) {
        t.setFilterText(sj(utf8));
        t.setFiltered(true);
    }
    void setTitle(const char* utf8) { t.fieldU8(fld::Title).setString(sj(utf8)); }
};

QStringList column(TableModel& m, int c) {
    QStringList out;
    for (int r = 0; r < m.rowCount(); ++r) out << m.index(r, c).data().toString();
    return out;
}

// A view wired to the model as the main grid is: its current row follows
// the table's, and choosing a row moves the table.
struct Grid {
    QTableView view;
    explicit Grid(TableModel& m) {
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        view.setSelectionMode(QAbstractItemView::SingleSelection);
        view.setModel(&m);
        QObject::connect(view.selectionModel(), &QItemSelectionModel::currentRowChanged, &view,
                         [&m](const QModelIndex& current) { m.moveCursorTo(current.row()); });
        QObject::connect(&m, &TableModel::cursorRowChanged, &view, [this, &m](int row) {
            view.selectionModel()->setCurrentIndex(m.index(row, std::max(0, view.currentIndex().column())),
                                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        });
        view.resize(400, 300);
    }
};

}  // namespace

class TableModelTest : public QObject {
    Q_OBJECT

private slots:
    void columnsAndCellsShowTheTableWithoutMovingItsCursor() {
        Titles d;
        d.t.moveTo(5);
        TableModel m(d.source, columns());
        QCOMPARE(m.headerData(1, Qt::Horizontal).toString(), QStringLiteral("タイトル"));
        QCOMPARE(m.headerData(2, Qt::Horizontal).toString(), QStringLiteral("ジャンル"));
        QFont font(QStringLiteral("IPAPGothic"));
        font.setPixelSize(12);
        const QFontMetrics fm(font);
        QCOMPARE(m.columnWidth(1, fm), 228);
        // Without a width: room for the type's usual text, or the title if wider.
        QVERIFY(m.columnWidth(3, fm) >= fm.horizontalAdvance(QStringLiteral("2004/12/25")));
        QVERIFY(m.columnWidth(4, fm) >= fm.horizontalAdvance(QStringLiteral("製作年")));
        QCOMPARE(m.index(0, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 255, 128));
        QVERIFY(!m.index(0, 2).data(Qt::BackgroundRole).isValid());
        QCOMPARE(m.index(0, 4).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignRight | Qt::AlignVCenter);
        QVERIFY(!(m.flags(m.index(0, 1)) & Qt::ItemIsEditable));

        QCOMPARE(m.rowCount(), 8);
        QCOMPARE(column(m, 1).front(), QStringLiteral("七人の侍"));
        QCOMPARE(m.index(3, 3).data().toString(), QStringLiteral("2004/12/25"));
        QCOMPARE(m.index(3, 4).data().toString(), QStringLiteral("1953"));
        QCOMPARE(m.index(4, 3).data().toString(), QString());  // blank
        QCOMPARE(m.index(0, 5).data().toString(), QString());  // no such field
        QCOMPARE(m.cursorRow(), 5);
        QCOMPARE(d.t.recNo(), 5);
    }

    void modelStaysConsistentThroughEveryChange() {
        Titles d;
        Table& t = d.t;
        TableModel m(d.source, columns());
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy cursor(&m, &TableModel::cursorRowChanged);
        QSignalSpy resets(&m, &QAbstractItemModel::modelReset);

        t.setIndexFields(sj(fld::Title));
        d.filter("ジャンル１ = 100");
        QCOMPARE(column(m, 1), (QStringList{"カサブランカ", "スター・ウォーズ", "ローマの休日"}));
        QCOMPARE(resets.count(), 2);

        // A new title shows at its place while inserted, then at its sorted place.
        t.append();
        QCOMPARE(m.rowCount(), 4);
        QCOMPARE(m.cursorRow(), 3);
        QCOMPARE(m.headerData(3, Qt::Vertical).toString(), QStringLiteral("*"));
        d.setTitle("アパートの鍵貸します");
        t.fieldU8(fld::Genre1).setInteger(100);
        QCOMPARE(m.index(3, 1).data().toString(), QStringLiteral("アパートの鍵貸します"));
        t.post();
        QCOMPARE(column(m, 1).front(), QStringLiteral("アパートの鍵貸します"));
        QCOMPARE(m.cursorRow(), 0);
        QCOMPARE(cursor.last().at(0).toInt(), 0);

        // Given up, or posted outside the filter, a new row goes again.
        t.insert();
        QCOMPARE(m.rowCount(), 5);
        t.cancel();
        t.append();
        t.fieldU8(fld::Genre1).setInteger(300);
        t.post();
        QCOMPARE(m.rowCount(), 4);

        // Editing shows the buffer; a posted title change moves the row.
        t.moveTo(2);
        t.edit();
        d.setTitle("ゴジラ");
        QCOMPARE(m.index(2, 1).data().toString(), QStringLiteral("ゴジラ"));
        t.cancel();
        QCOMPARE(m.index(2, 1).data().toString(), QStringLiteral("スター・ウォーズ"));
        t.edit();
        d.setTitle("ワイルドバンチ");
        t.post();
        QCOMPARE(column(m, 1).back(), QStringLiteral("ワイルドバンチ"));
        QCOMPARE(m.cursorRow(), 3);
        t.remove();
        QCOMPARE(column(m, 1), (QStringList{"アパートの鍵貸します", "カサブランカ", "ローマの休日"}));
        QCOMPARE(resets.count(), 2);  // none of these reset the model

        t.setFiltered(false);
        QCOMPARE(m.rowCount(), 9);
        QCOMPARE(cursor.last().at(0).toInt(), t.recNo());
        t.close();
        QCOMPARE(m.rowCount(), 0);
        QCOMPARE(m.cursorRow(), -1);
        t.open();
        QCOMPARE(m.rowCount(), 9);
    }

    void postKeepsTheCurrentCellAndAnOpenEditor() {
        Titles d;
        TableModel m(d.source, columns());
        Grid grid(m);
        QSignalSpy resets(&m, &QAbstractItemModel::modelAboutToBeReset);
        d.t.moveTo(1);
        grid.view.setCurrentIndex(m.index(1, 1));
        grid.view.openPersistentEditor(m.index(1, 1));
        QWidget* editor = grid.view.indexWidget(m.index(1, 1));
        QVERIFY(editor);

        d.t.edit();
        d.t.fieldU8(fld::Code).setInteger(20);  // sorts last
        d.t.post();
        QCOMPARE(d.t.recNo(), 7);
        QCOMPARE(grid.view.currentIndex(), m.index(7, 1));
        QCOMPARE(grid.view.indexWidget(m.index(7, 1)), editor);

        // A post in place keeps them too.
        d.t.edit();
        d.t.fieldU8(fld::Year).setInteger(1969);
        d.t.post();
        QCOMPARE(grid.view.currentIndex(), m.index(7, 1));
        QCOMPARE(grid.view.indexWidget(m.index(7, 1)), editor);
        QCOMPARE(m.index(7, 4).data().toString(), QStringLiteral("1969"));
        QCOMPARE(resets.count(), 0);
    }

    void viewAdjustingItsCurrentRowNeverMovesTheTable() {
        Titles d;
        TableModel m(d.source, columns());
        Grid grid(m);
        // Deleting the current row: the view moves its current row on its
        // own while the rows change; the table keeps the row that followed.
        d.t.moveTo(3);
        QCOMPARE(grid.view.currentIndex().row(), 3);
        d.t.remove();
        QCOMPARE(d.t.recNo(), 3);
        QCOMPARE(grid.view.currentIndex().row(), 3);
        QCOMPARE(QString::fromStdString(d.t.fieldU8(fld::Title).displayTextUtf8()), QStringLiteral("東京物語"));
        // The same for a new row given up.
        d.t.append();
        QCOMPARE(grid.view.currentIndex().row(), 7);
        d.t.cancel();
        QCOMPARE(d.t.recNo(), 3);
        QCOMPARE(grid.view.currentIndex().row(), 3);
    }

    void movingTheModelCursorMovesTheTable() {
        Titles d;
        TableModel m(d.source, columns());
        QSignalSpy cursor(&m, &TableModel::cursorRowChanged);
        m.moveCursorTo(7);
        QCOMPARE(d.t.recNo(), 7);
        QCOMPARE(cursor.count(), 1);
        QCOMPARE(cursor.at(0).at(0).toInt(), 7);
        QCOMPARE(m.headerData(7, Qt::Vertical).toString(), QStringLiteral("▶"));
        QCOMPARE(m.headerData(6, Qt::Vertical).toString(), QString());
        // Rows after a new row count it: the row below it is the table's next.
        d.t.moveTo(2);
        d.t.insert();
        m.moveCursorTo(4);
        QCOMPARE(d.t.state(), TableState::Browse);
        QCOMPARE(d.t.recNo(), 3);
    }
};

QTEST_MAIN(TableModelTest)
#include "table_model_test.moc"
