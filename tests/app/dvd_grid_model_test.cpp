// The grid's table model over CDvd: its shape, its cells, and how it follows
// the table, checked by Qt's model tester through every kind of change.
#include <QAbstractItemModelTester>
#include <QFont>
#include <QFontMetrics>
#include <QSignalSpy>
#include <QTest>

#include "app/dvd_grid_model.h"
#include "app_fixture.h"

using namespace tamboro;
using namespace tamboro::test;

class DvdGridModelTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CatalogueFolder> folder_;
    std::unique_ptr<TDM1> dm_;

    QStringList column(DvdGridModel& m, int c) {
        QStringList out;
        for (int r = 0; r < m.rowCount(); ++r) out << m.index(r, c).data().toString();
        return out;
    }

private slots:
    void init() {
        folder_ = std::make_unique<CatalogueFolder>();
        dm_ = std::make_unique<TDM1>(folder_->path());
        dm_->openAtCreation();
        dm_->OpenForEditor();
    }
    void cleanup() {
        dm_.reset();
        folder_.reset();
    }

    void columnsHaveTheirWidthsAndColours() {
        DvdGridModel m(dm_->DvdSource);
        QCOMPARE(m.columnCount(), 28);
        QCOMPARE(m.headerData(5, Qt::Horizontal).toString(), QStringLiteral("時間"));
        QCOMPARE(m.headerData(27, Qt::Horizontal).toString(), QStringLiteral("脚本"));
        QFont font(QStringLiteral("IPAPGothic"));
        font.setPixelSize(12);
        const QFontMetrics fm(font);
        const int fixed[] = {32, 228, 30, -1, 30, 36, 50, 50, 30, 30, 205, 217, 205, 74, -1, 79};
        for (int c = 0; c < 16; ++c)
            if (fixed[c] > 0) QCOMPARE(m.columnWidth(c, fm), fixed[c]);
        // A date and a small integer get room for their usual text.
        QVERIFY(m.columnWidth(3, fm) >= fm.horizontalAdvance(QStringLiteral("2004/12/25")));
        QVERIFY(m.columnWidth(14, fm) >= fm.horizontalAdvance(QStringLiteral("製作年")));
        QCOMPARE(m.index(0, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 255, 128));
        QVERIFY(m.index(0, 0).data(Qt::BackgroundRole).value<QColor>().isValid());
        QVERIFY(!m.index(0, 2).data(Qt::BackgroundRole).isValid());
        QVERIFY(!(m.flags(m.index(0, 1)) & Qt::ItemIsEditable));
    }

    void cellsShowDisplayTextsWithoutMovingTheCursor() {
        dm_->CDvd.moveTo(4);
        dm_->CDvd.edit();
        dm_->CDvd.fieldU8(fld::PurchaseDate).setText("2004/12/25");
        dm_->CDvd.fieldU8(fld::Year).setInteger(1953);
        dm_->CDvd.post();
        DvdGridModel m(dm_->DvdSource);
        QCOMPARE(m.rowCount(), 12);
        QCOMPARE(column(m, 0).mid(0, 3), (QStringList{"1", "2", "3"}));
        QCOMPARE(column(m, 1).front(), QStringLiteral("七人の侍"));
        QCOMPARE(m.index(4, 13).data().toString(), QStringLiteral("2004/12/25"));
        QCOMPARE(m.index(4, 14).data().toString(), QStringLiteral("1953"));
        QCOMPARE(m.index(5, 13).data().toString(), QString());  // blank
        QCOMPARE(dm_->CDvd.recNo(), 4);
        QCOMPARE(m.cursorRow(), 4);
    }

    void modelStaysConsistentThroughEveryChange() {
        DvdGridModel m(dm_->DvdSource);
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy cursor(&m, &DvdGridModel::cursorRowChanged);
        Table& t = dm_->CDvd;

        t.setIndexFields(sj("タイトル"));
        QCOMPARE(column(m, 1).front(), QStringLiteral("アマデウス"));
        t.setFilterText(sj("ジャンル１ = 100"));
        t.setFiltered(true);
        QCOMPARE(m.rowCount(), 4);

        // A new title shows at its place while inserted, then at its sorted place.
        t.append();
        QCOMPARE(m.rowCount(), 5);
        QCOMPARE(m.cursorRow(), 4);
        QCOMPARE(m.headerData(4, Qt::Vertical).toString(), QStringLiteral("*"));
        t.fieldU8(fld::Code).setInteger(99);
        t.fieldU8(fld::Title).setString(sj("アパートの鍵貸します"));
        t.fieldU8(fld::Genre1).setInteger(100);
        QCOMPARE(m.index(4, 1).data().toString(), QStringLiteral("アパートの鍵貸します"));
        t.post();
        QCOMPARE(m.rowCount(), 5);
        QCOMPARE(m.index(0, 1).data().toString(), QStringLiteral("アパートの鍵貸します"));
        QCOMPARE(m.cursorRow(), 0);

        // An insert given up leaves the rows as they were.
        t.append();
        t.cancel();
        QCOMPARE(m.rowCount(), 5);

        // Editing shows the buffer; deleting removes the row.
        t.moveTo(2);
        t.edit();
        t.fieldU8(fld::Title).setString(sj("ゴッドファーザー PART II"));
        QCOMPARE(m.index(2, 1).data().toString(), QStringLiteral("ゴッドファーザー PART II"));
        t.cancel();
        QCOMPARE(m.index(2, 1).data().toString(), QStringLiteral("ゴッドファーザー"));
        t.remove();
        QCOMPARE(m.rowCount(), 4);

        t.setFiltered(false);
        QCOMPARE(m.rowCount(), 12);
        QVERIFY(cursor.count() > 0);
        QCOMPARE(cursor.last().at(0).toInt(), t.recNo());

        // Closed, the grid is empty; opened again, full.
        dm_->closeCatalogue();
        QCOMPARE(m.rowCount(), 0);
        QCOMPARE(m.cursorRow(), -1);
        dm_->OpenForEditor();
        QCOMPARE(m.rowCount(), 12);
    }

    void movingTheModelCursorMovesTheTable() {
        DvdGridModel m(dm_->DvdSource);
        QSignalSpy cursor(&m, &DvdGridModel::cursorRowChanged);
        m.moveCursorTo(7);
        QCOMPARE(dm_->CDvd.recNo(), 7);
        QCOMPARE(cursor.count(), 1);
        QCOMPARE(cursor.at(0).at(0).toInt(), 7);
        QCOMPARE(m.headerData(7, Qt::Vertical).toString(), QStringLiteral("▶"));
        // Moving away from a changed title posts it, as any move does.
        dm_->CDvd.edit();
        dm_->CDvd.fieldU8(fld::Title).setString(sj("羅生門（4K）"));
        m.moveCursorTo(0);
        QCOMPARE(dm_->CDvd.state(), TableState::Browse);
        QCOMPARE(m.index(7, 1).data().toString(), QStringLiteral("羅生門（4K）"));
    }
};

QTEST_MAIN(DvdGridModelTest)
#include "dvd_grid_model_test.moc"
