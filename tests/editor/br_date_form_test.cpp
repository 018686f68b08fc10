#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "data/locale_jp.h"
#include "editor/br_date_form.h"
#include "editor/calendar.h"
#include "tests/controls/window_test_support.h"

using namespace tamboro;
using namespace tamboro::test;

namespace {

double date(int y, int m, int d) { return dayNumber(y, m, d); }

template <class W>
W* part(const TBrDateForm& f, const char* name) {
    W* w = f.findChild<W*>(QString::fromLatin1(name));
    if (!w) qFatal("no child %s", name);
    return w;
}

QString title(const TBrDateForm& f) { return part<QLabel>(f, "TitleLabel")->text(); }
void step(const TBrDateForm& f, const char* button) { part<QToolButton>(f, button)->click(); }

void clickDay(TCalendar& c, int n) {
    for (int row = 1; row < TCalendar::kRowCount; ++row)
        for (int col = 0; col < TCalendar::kColCount; ++col)
            if (c.DayText(col, row) == QString::number(n))
                QTest::mouseClick(&c, Qt::LeftButton, {}, c.cellRect(col, row).center());
}

}  // namespace

class BrDateFormTest : public QObject {
    Q_OBJECT

private slots:
    void titleFollowsTheShownMonth() {
        TBrDateForm f;
        f.SetDate(date(2004, 12, 25));
        QCOMPARE(title(f), QStringLiteral("12月, 2004"));
        step(f, "NextMonthBtn");
        QCOMPARE(title(f), QStringLiteral("1月, 2005"));
        step(f, "PrevMonthBtn");
        step(f, "PrevMonthBtn");
        QCOMPARE(title(f), QStringLiteral("11月, 2004"));
        QCOMPARE(f.GetDate(), date(2004, 11, 25));
    }

    void timeOfDaySurvivesOnlyAnUntouchedDate() {
        TBrDateForm f;
        f.show();
        const double start = date(2004, 12, 25) + 0.5;
        f.SetDate(start);
        clickDay(*f.calendar(), 25);
        QCOMPARE(f.GetDate(), start);
        clickDay(*f.calendar(), 24);
        QCOMPARE(f.GetDate(), date(2004, 12, 24));
        f.SetDate(start);
        step(f, "NextMonthBtn");
        step(f, "PrevMonthBtn");
        QCOMPARE(f.GetDate(), date(2004, 12, 25));
    }

    void endsOnlyByOkCancelOrCloseBox_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("result");
        QTest::newRow("OK") << "OkBtn" << int(QDialog::Accepted);
        QTest::newRow("Cancel") << "CancelBtn" << int(QDialog::Rejected);
        QTest::newRow("Enter on the calendar") << "Enter" << int(QDialog::Accepted);
        QTest::newRow("close box") << "close" << int(QDialog::Rejected);
    }
    void endsOnlyByOkCancelOrCloseBox() {
        QFETCH(QString, how);
        QFETCH(int, result);
        TBrDateForm f;
        f.SetDate(date(2004, 12, 25));
        f.setResult(-1);
        f.open();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QCOMPARE(QApplication::focusWidget(), f.calendar());
        QTest::keyClick(f.calendar(), Qt::Key_Escape);
        QVERIFY(f.isVisible());
        if (how == "Enter")
            QTest::keyClick(f.calendar(), Qt::Key_Return);
        else if (how == "close")
            f.close();
        else
            part<QPushButton>(f, how.toLatin1().constData())->click();
        QVERIFY(!f.isVisible());
        QCOMPARE(f.result(), result);
    }

    void steppingPastTheLastYearReportsAndKeepsTheDate() {
        ErrorCollector errors;
        TBrDateForm f;
        f.SetDate(date(9999, 12, 5));
        step(f, "NextMonthBtn");
        QCOMPARE(errors.messages, QStringList{QStringLiteral("日付に変換できない値が渡されました.")});
        QCOMPARE(f.GetDate(), date(9999, 12, 5));
        QCOMPARE(title(f), QStringLiteral("12月, 9999"));
    }

    void everyControlFitsTheWindow() {
        TBrDateForm f;
        f.SetDate(date(2004, 12, 25));
        QCOMPARE(f.size(), QSize(453, 275));
        for (QWidget* w : f.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            QVERIFY2(f.rect().contains(w->geometry()), qPrintable(w->objectName()));
        TCalendar* c = f.calendar();
        QCOMPARE(c->size(), QSize(397, 166));
        QVERIFY(c->contentsRect().contains(c->cellRect(6, 6)));
        QVERIFY(c->fontMetrics().height() <= c->rowHeight());
    }
};

QTEST_MAIN(BrDateFormTest)
#include "br_date_form_test.moc"
