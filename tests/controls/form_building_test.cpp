// Building fixed-layout windows: pages from rows of controls, the fixed-size
// dialog, and leave handlers looked up by control.
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

#include "bound_form.h"
#include "controls/db_memo.h"
#include "controls/db_radio_group.h"
#include "controls/db_ret_check_box.h"
#include "controls/db_ret_combo_box.h"
#include "controls/db_ret_edit.h"
#include "controls/db_ret_lookup_combo_box.h"
#include "controls/fixed_dialog.h"
#include "controls/form_page.h"
#include "controls/leave_handlers.h"
#include "window_test_support.h"

using namespace tamboro;
using namespace tamboro::test;

namespace {

// A small record page: a group panel with its tile, and one control of
// each bound kind, listed in another order than their tab order.
std::vector<FormRow> samplePage() {
    using K = RowKind;
    return {
        {.name = "Group", .kind = K::SunkenPanel, .place = QRect(0, 0, 400, 300)},
        {.name = "Tile", .kind = K::CaptionTile, .parent = "Group", .place = QRect(2, 2, 60, 18),
         .caption = QStringLiteral("評価"), .colour = QColor(0xFF, 0xFF, 0x80)},
        {.kind = K::Label, .parent = "Group", .place = QRect(8, 24, 60, 21), .caption = QStringLiteral("タイトル名")},
        {.name = "ETitle", .kind = K::DbRetEdit, .parent = "Group", .place = QRect(70, 24, 200, 21),
         .field = "タイトル", .ime = ImeMode::Open, .tab = 2, .colour = QColor(0xFF, 0xFF, 0x80)},
        {.name = "ECode", .kind = K::DbRetEdit, .parent = "Group", .place = QRect(280, 24, 60, 21), .field = "CODE"},
        {.name = "CmbGenre", .kind = K::DbRetLookupComboBox, .parent = "Group", .place = QRect(70, 50, 120, 21),
         .field = "ジャンル１", .ime = ImeMode::Close, .tab = 1, .listSource = "GenreSource",
         .keyField = "GENRE_CODE1", .listField = "GENRE_NAME"},
        {.name = "CmbHyouka", .kind = K::DbRetComboBox, .parent = "Group", .place = QRect(70, 76, 50, 21),
         .field = "評価", .ime = ImeMode::Close, .tab = 3, .items = {"5", "4", "3", "2", "1", "0"}},
        {.name = "ChkImpress1", .kind = K::DbRetCheckBox, .parent = "Group", .place = QRect(70, 100, 120, 20),
         .field = "IMPRESS1", .tab = 4, .caption = QStringLiteral("感動")},
        {.name = "RDColor", .kind = K::DbRadioGroup, .parent = "Group", .place = QRect(70, 124, 200, 40),
         .field = "カラー", .tab = 6, .items = {QStringLiteral("カラー"), QStringLiteral("モノクロ")},
         .values = {"True", "False"}},
        {.name = "MComent", .kind = K::DbMemo, .parent = "Group", .place = QRect(70, 170, 300, 60),
         .field = "コメント", .ime = ImeMode::Open, .tab = 5},
    };
}

struct Page : BoundData {
    QWidget window;
    BuiltPage built;
    explicit Page(const std::vector<FormRow>& rows = samplePage()) {
        built = buildFormPage(&window, rows, binding());
    }
    FormBinding binding() {
        return {&dvdSource, [this](std::string_view name) { return name == "GenreSource" ? &genreSource : nullptr; }};
    }
    template <class T>
    T* get(const char* name) const {
        return window.findChild<T*>(QString::fromLatin1(name));
    }
};

}  // namespace

class FormBuildingTest : public QObject {
    Q_OBJECT
private slots:
    void pageRowsBuildBoundControlsInTheirPlacesAndTabOrder() {
        Page p;
        auto* title = p.get<TDBRetEdit>("ETitle");
        auto* genre = p.get<TDBRetLookupComboBox>("CmbGenre");
        auto* rating = p.get<TDBRetComboBox>("CmbHyouka");
        auto* color = p.get<TDBRadioGroup>("RDColor");
        QVERIFY(title && genre && rating && p.get<TDBRetCheckBox>("ChkImpress1") && color && p.get<TDBMemo>("MComent"));
        QCOMPARE(title->parentWidget(), p.get<QWidget>("Group"));
        QCOMPARE(title->geometry(), QRect(70, 24, 200, 21));
        QCOMPARE(p.built.controls.size(), samplePage().size());
        // Bound and following the cursor.
        QCOMPARE(title->text(), QStringLiteral("ローマの休日"));
        QCOMPARE(genre->currentText(), QStringLiteral("ロマンス"));
        QCOMPARE(rating->currentText(), QStringLiteral("3"));
        QCOMPARE(color->itemIndex(), 0);
        p.titles.next();
        QCOMPARE(title->text(), QStringLiteral("七人の侍"));
        QCOMPARE(color->itemIndex(), 1);
        // Input method, background, tab order by the tab column; no tab place, no tab stop.
        QCOMPARE(imeMode(title), ImeMode::Open);
        QCOMPARE(imeMode(genre), ImeMode::Close);
        QCOMPARE(title->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0x80));
        const std::vector<QWidget*> chain = {genre, title, rating, p.get<QWidget>("ChkImpress1"),
                                             p.get<QWidget>("MComent"), color};
        QCOMPARE(p.built.tabChain, chain);
        p.window.show();
        p.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&p.window));
        genre->setFocus();
        for (size_t i = 1; i < chain.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* now = QApplication::focusWidget();
            QVERIFY2(now == chain[i] || chain[i]->isAncestorOf(now), qPrintable(chain[i]->objectName()));
        }
        QCOMPARE(p.get<QWidget>("ECode")->focusPolicy(), Qt::ClickFocus);
    }

    void pageRowsRefuseMistakes_data() {
        QTest::addColumn<int>("mistake");
        QTest::newRow("unknown panel") << 0;
        QTest::newRow("tab place taken twice") << 1;
        QTest::newRow("unknown field") << 2;
        QTest::newRow("unknown list source") << 3;
        QTest::newRow("bound row without a data source") << 4;
    }
    void pageRowsRefuseMistakes() {
        QFETCH(int, mistake);
        std::vector<FormRow> rows = samplePage();
        FormRow& edit = rows[3];
        FormRow& lookup = rows[5];
        switch (mistake) {
        case 0: edit.parent = "Nowhere"; break;
        case 1: lookup.tab = edit.tab; break;
        case 2: edit.field = "NOSUCH"; break;
        case 3: lookup.listSource = "NoSource"; break;
        }
        if (mistake == 4) {
            QWidget window;
            QVERIFY_THROWS_EXCEPTION(std::exception, buildFormPage(&window, rows));
        } else {
            QVERIFY_THROWS_EXCEPTION(std::exception, Page{rows});
        }
    }

    void fixedDialogEndsOnlyAsItsCloseBoxSays_data() {
        QTest::addColumn<bool>("closeBoxEnds");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("ends");
        for (bool ends : {false, true}) {
            const char* box = ends ? "close box ends" : "no close box";
            QTest::addRow("%s, Escape", box) << ends << "Escape" << false;
            QTest::addRow("%s, close box", box) << ends << "close" << ends;
            QTest::addRow("%s, own button", box) << ends << "button" << true;
        }
    }
    void fixedDialogEndsOnlyAsItsCloseBoxSays() {
        QFETCH(bool, closeBoxEnds);
        QFETCH(QString, how);
        QFETCH(bool, ends);
        TFixedDialog d(QSize(200, 100), closeBoxEnds ? TFixedDialog::CloseBox::Ends : TFixedDialog::CloseBox::None);
        auto* edit = new QLineEdit(&d);
        d.setResult(-1);
        d.open();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(d.windowFlags().testFlag(Qt::WindowCloseButtonHint), closeBoxEnds);
        if (how == "Escape")
            QTest::keyClick(edit, Qt::Key_Escape);
        else if (how == "close")
            d.close();
        else
            d.accept();
        QCOMPARE(!d.isVisible(), ends);
        if (ends) QCOMPARE(d.result(), int(how == "button" ? QDialog::Accepted : QDialog::Rejected));
    }

    void fixedDialogKeepsItsSizeAndShowsCentredOrAtItsPlace() {
        TFixedDialog centred(QSize(300, 200), TFixedDialog::CloseBox::None);
        centred.show();
        QVERIFY(QTest::qWaitForWindowExposed(&centred));
        QCOMPARE(centred.size(), QSize(300, 200));
        QCOMPARE(centred.minimumSize(), centred.maximumSize());
        // Centred with its frame, as far as the frame is known before the first showing.
        const QPoint middle = centred.screen()->availableGeometry().center();
        QVERIFY((centred.frameGeometry().center() - middle).manhattanLength() <= 4);
        centred.hide();
        centred.move(0, 0);
        centred.show();  // centred again at each showing
        QVERIFY((centred.frameGeometry().center() - middle).manhattanLength() <= 4);

        TFixedDialog placed(QSize(300, 200), TFixedDialog::CloseBox::Ends);
        placed.setDesignedPosition(QPoint(76, 55));
        placed.show();
        QVERIFY(QTest::qWaitForWindowExposed(&placed));
        QCOMPARE(placed.pos(), QPoint(76, 55));
    }

    void leaveHandlerRunsForTheControlLeft() {
        QWidget window;
        auto* title = new QLineEdit(&window);
        auto* year = new QLineEdit(&window);
        auto* before = new QRadioButton(&window);
        auto* combo = new QComboBox(&window);
        combo->setEditable(true);
        auto* plain = new QLineEdit(&window);
        LeaveHandlers leaves(&window);
        QStringList ran;
        leaves.add(title, [&] { ran << "title"; });
        leaves.add({year, before}, [&] { ran << "year"; });
        leaves.add(combo, [&] { ran << "combo"; });
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        const auto focus = [](QWidget* w) {
            w->setFocus();
            QTRY_COMPARE(QApplication::focusWidget(), w);
        };
        focus(title);
        focus(year);
        focus(before);
        focus(combo);
        focus(plain);
        focus(title);
        QCOMPARE(ran, (QStringList{"title", "year", "year", "combo"}));
        QCOMPARE(leaves.activeControl(), title);

        // Another window taking the focus leaves no control; coming back neither.
        QWidget other;
        auto* elsewhere = new QLineEdit(&other);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        focus(elsewhere);
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        focus(title);
        QCOMPARE(ran.size(), 4);

        // A handler's error goes to the error box and the focus moves on.
        ErrorCollector errors;
        leaves.add(title, [] { throw std::runtime_error("書き込めません"); });
        focus(year);
        QCOMPARE(errors.messages, QStringList{"書き込めません."});
    }
};

QTEST_MAIN(FormBuildingTest)
#include "form_building_test.moc"
