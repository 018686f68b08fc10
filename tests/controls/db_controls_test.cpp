#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QVBoxLayout>

#include "bound_form.h"
#include "controls/app_font.h"
#include "controls/db_check_box.h"
#include "controls/db_combo_box.h"
#include "controls/db_edit.h"
#include "controls/db_lookup_combo_box.h"
#include "controls/db_memo.h"
#include "controls/db_radio_group.h"
#include "window_test_support.h"

using namespace tamboro;
using namespace tamboro::test;

// A form of bound controls over the title table, in tab order.
struct Form : BoundData {
    QWidget window;
    TDBEdit* title = new TDBEdit(&window);
    TDBEdit* year = new TDBEdit(&window);
    TDBEdit* price = new TDBEdit(&window);
    TDBLookupComboBox* genre = new TDBLookupComboBox(&window);
    TDBComboBox* rating = new TDBComboBox(&window);
    TDBCheckBox* impress = new TDBCheckBox(QStringLiteral("感動"), &window);
    TDBRadioGroup* color = new TDBRadioGroup(&window);
    TDBMemo* comment = new TDBMemo(&window);
    QLineEdit* plain = new QLineEdit(&window);

    Form() {
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* w : std::initializer_list<QWidget*>{title, year, price, genre, rating, impress, color, comment, plain})
            layout->addWidget(w);
        genre->setListSource(&genreSource);
        genre->setKeyField("GENRE_CODE1");
        genre->setListField("GENRE_NAME");
        rating->addItems({"5", "4", "3", "2", "1", "0"});
        rating->setEditable(true);
        color->setItems({QStringLiteral("カラー"), QStringLiteral("モノクロ")});
        color->setValues({"True", "False"});
        color->setColumns(2);
        bind(title, "タイトル");
        bind(year, "製作年");
        bind(price, "価格");
        bind(genre, "ジャンル１");
        bind(rating, "評価");
        bind(impress, "IMPRESS1");
        bind(color, "カラー");
        bind(comment, "コメント");
        window.setFont(appFont());
        window.show();
        window.activateWindow();
    }
};

// Clicks a check box or radio button on its indicator, which a click in the
// middle of a wide box would miss.
void clickIndicator(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2)); }

class DbControlsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Form> f;

private slots:
    void initTestCase() { installFontSubstitutions(); }
    void init() {
        f = std::make_unique<Form>();
        QVERIFY(QTest::qWaitForWindowActive(&f->window));
    }
    void cleanup() { f.reset(); }

    void controlsFollowTheCursor() {
        QCOMPARE(f->title->text(), QStringLiteral("ローマの休日"));
        QCOMPARE(f->year->text(), QStringLiteral("1953"));
        QCOMPARE(f->price->text(), QStringLiteral("¥1,980"));
        QCOMPARE(f->genre->currentText(), QStringLiteral("ロマンス"));
        QCOMPARE(f->rating->currentIndex(), 2);
        QVERIFY(f->impress->isChecked());
        QCOMPARE(f->color->itemIndex(), 0);
        f->titles.next();
        QCOMPARE(f->title->text(), QStringLiteral("七人の侍"));
        QCOMPARE(f->price->text(), QString());
        // A code without a list row shows nothing; a blank boolean unticked.
        QCOMPARE(f->genre->currentIndex(), -1);
        QVERIFY(!f->impress->isChecked());
        QCOMPARE(f->color->itemIndex(), 1);
        QCOMPARE(f->rating->currentText(), QStringLiteral("5"));
        QCOMPARE(f->comment->toPlainText(), QString());
        f->titles.close();
        QCOMPARE(f->title->text(), QString());
        QVERIFY(f->title->isReadOnly());
    }

    void typingStartsEditingAndLeavingWrites() {
        f->title->setFocus();
        f->title->selectAll();
        typeText(f->title, QStringLiteral("生きる"));
        QCOMPARE(f->titles.state(), TableState::Edit);
        QCOMPARE(f->text("タイトル"), QStringLiteral("ローマの休日"));  // not yet written
        QTest::keyClick(f->title, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f->year);
        QCOMPARE(f->text("タイトル"), QStringLiteral("生きる"));
        f->titles.post();
        QCOMPARE(f->title->text(), QStringLiteral("生きる"));
        // Written on request, the focused control's change is kept and it keeps the focus.
        f->title->setFocus();
        f->title->selectAll();
        typeText(f->title, QStringLiteral("乱"));
        FieldLink::updateRecords(f->titles);
        f->titles.post();
        QCOMPARE(f->text("タイトル"), QStringLiteral("乱"));
        QCOMPARE(QApplication::focusWidget(), f->title);
        QVERIFY(f->errors.isEmpty());
    }

    void aBadNumberGivesTheEngineMessageAndKeepsTheText() {
        int priceEntered = 0;
        f->price->installEventFilter(this);
        connect(this, &DbControlsTest::focusedIn, &f->window, [&](QObject* o) { priceEntered += o == f->price; });
        f->year->setFocus();
        f->year->selectAll();
        QTest::keyClicks(f->year, QStringLiteral("1a9-5"));  // the letter is refused
        QCOMPARE(f->beeps, 1);
        QCOMPARE(f->year->text(), QStringLiteral("19-5"));
        QTest::keyClick(f->year, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f->year);
        QCOMPARE(f->year->selectedText(), QStringLiteral("19-5"));
        QCOMPARE(priceEntered, 0);  // the next control was never entered
        QTRY_COMPARE(f->errors, QStringList{QStringLiteral("'19-5' は項目 '製作年' に適した整数値ではありません.")});
        QCOMPARE(f->text("製作年"), QStringLiteral("1953"));
        // A window posting on a shortcut meets the same refusal, reported once.
        QTest::keyClick(f->year, Qt::Key_Tab);
        QVERIFY_THROWS_EXCEPTION(std::exception, FieldLink::updateRecords(f->titles));
        QTest::qWait(10);
        QCOMPARE(f->errors.size(), 1);
        // Out of range is refused too; a good value then goes through.
        f->year->setText(QString());
        QTest::keyClicks(f->year, QStringLiteral("40000"));
        QTest::keyClick(f->year, Qt::Key_Tab);
        QTRY_COMPARE(f->errors.size(), 2);
        QCOMPARE(f->errors.last(), QStringLiteral("40000 は項目 '製作年' に適した値ではありません。-32768 から 32767 の範囲が許されます."));
        f->year->selectAll();
        QTest::keyClicks(f->year, QStringLiteral("+1960"));
        QTest::keyClick(f->year, Qt::Key_Tab);
        QCOMPARE(f->titles.fieldU8("製作年").asInteger(), 1960);
        QCOMPARE(f->year->text(), QStringLiteral("1960"));
    }

    void escapeAndCancelPutTheStoredValueBack() {
        f->title->setFocus();
        QTest::keyClicks(f->title, QStringLiteral("xyz"));
        QTest::keyClick(f->title, Qt::Key_Escape);
        QCOMPARE(f->title->text(), QStringLiteral("ローマの休日"));
        QVERIFY(f->window.isVisible());
        QTest::keyClick(f->title, Qt::Key_Tab);
        QCOMPARE(f->text("タイトル"), QStringLiteral("ローマの休日"));
        // Cancelling the row drops an unwritten change.
        f->title->setFocus();
        QTest::keyClicks(f->title, QStringLiteral("!"));
        f->titles.cancel();
        QCOMPARE(f->title->text(), QStringLiteral("ローマの休日"));
        QVERIFY(!f->title->link().isModified());
    }

    void anAmountIsTypedAsAPlainNumber() {
        f->price->setFocus();
        QCOMPARE(f->price->text(), QStringLiteral("1980"));
        f->price->selectAll();
        QTest::keyClicks(f->price, QStringLiteral("2500.5x"));
        QCOMPARE(f->beeps, 1);
        QTest::keyClick(f->price, Qt::Key_Tab);
        QCOMPARE(f->price->text(), QStringLiteral("¥2,501"));
    }

    void textIsLimitedByShiftJisBytes() {
        f->title->setFocus();
        f->title->selectAll();
        typeText(f->title, QStringLiteral("あいうえおかきくけこさ"));  // 22 bytes into 20
        QCOMPARE(f->title->text(), QStringLiteral("あいうえおかきくけこ"));
        QVERIFY(f->beeps >= 1);
        // An insertion in the middle keeps the text after it.
        f->title->setText(QStringLiteral("abcdefghijklmnopqr"));
        f->title->setCursorPosition(2);
        f->title->insert(QStringLiteral("日本語"));
        QCOMPARE(f->title->text(), QStringLiteral("ab日cdefghijklmnopqr"));
        f->title->selectAll();
        typeText(f->title, QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｱｲｳｴｵｶｷｸｹｺｻ"));  // half-width kana: one byte each
        QCOMPARE(f->title->text(), QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｱｲｳｴｵｶｷｸｹｺ"));
        QTest::keyClick(f->title, Qt::Key_Tab);
        QCOMPARE(f->titles.fieldU8("タイトル").asString().size(), size_t(20));
    }

    void readOnlyControlsTakeNoChange() {
        f->title->setReadOnly(true);
        f->impress->setReadOnly(true);
        QVERIFY(f->title->isReadOnly());
        f->title->setFocus();
        QTest::keyClicks(f->title, QStringLiteral("x"));
        clickIndicator(f->impress);
        QVERIFY(f->impress->isChecked());
        QCOMPARE(f->titles.state(), TableState::Browse);
        f->title->setReadOnly(false);
        QVERIFY(!f->title->isReadOnly());
    }

    void checkBoxStoresTheBoolean() {
        f->titles.next();  // blank
        clickIndicator(f->impress);
        QCOMPARE(f->titles.state(), TableState::Edit);
        QVERIFY(f->titles.fieldU8("IMPRESS1").asBoolean());
        f->impress->setFocus();
        QTest::keyClick(f->impress, Qt::Key_Space);
        QVERIFY(!f->titles.fieldU8("IMPRESS1").isNull());
        QVERIFY(!f->titles.fieldU8("IMPRESS1").asBoolean());
        f->titles.fieldU8("IMPRESS1").setBoolean(true);  // set by code: shown
        QVERIFY(f->impress->isChecked());
    }

    void lookupComboShowsTheNameAndStoresTheCode() {
        QCOMPARE(f->genre->count(), 3);
        QSignalSpy clicked(f->genre, &TDBLookupComboBox::clicked);
        f->genre->setFocus();
        QTest::keyClick(f->genre, Qt::Key_Down);  // picks the next row at once
        QCOMPARE(f->titles.fieldU8("ジャンル１").asInteger(), 3);
        QCOMPARE(f->genre->currentText(), QStringLiteral("時代劇"));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(f->titles.state(), TableState::Edit);
        // Renaming a list row renames the entry; moving the list does not matter.
        f->genres.last();
        f->genres.edit();
        f->genres.fieldU8("GENRE_NAME").setText(sj("時代劇映画"));
        f->genres.post();
        QCOMPARE(f->genre->currentText(), QStringLiteral("時代劇映画"));
        f->genres.first();
        QCOMPARE(f->genre->currentText(), QStringLiteral("時代劇映画"));
        // A code the list does not hold shows nothing.
        f->titles.fieldU8("ジャンル１").setInteger(7);
        QCOMPARE(f->genre->currentIndex(), -1);
        QCOMPARE(f->genres.recNo(), 0);
    }

    void comboBoxStoresTheTextOfItsItem() {
        QSignalSpy changed(f->rating, &TDBComboBox::changedByUser);
        f->rating->setFocus();
        QTest::keyClick(f->rating, Qt::Key_Up);  // "4"
        QCOMPARE(f->rating->currentIndex(), 1);
        QTest::keyClick(f->rating, Qt::Key_Tab);
        QCOMPARE(f->titles.fieldU8("評価").asInteger(), 4);
        f->rating->setFocus();
        f->rating->lineEdit()->selectAll();
        QTest::keyClicks(f->rating, QStringLiteral("x0"));  // a letter is refused
        QCOMPARE(f->beeps, 1);
        QTest::keyClick(f->rating, Qt::Key_Tab);
        QCOMPARE(f->titles.fieldU8("評価").asInteger(), 0);
        QVERIFY(changed.count() >= 2);
        QCOMPARE(f->rating->currentIndex(), 5);
    }

    void radioGroupStoresTheValueOfItsItem() {
        auto buttons = f->color->findChildren<QRadioButton*>();
        QCOMPARE(buttons.size(), 2);
        clickIndicator(buttons[1]);
        QCOMPARE(f->text("カラー"), QStringLiteral("False"));
        f->titles.fieldU8("カラー").clear();
        QCOMPARE(f->color->itemIndex(), -1);
        clickIndicator(buttons[0]);
        QVERIFY(f->titles.fieldU8("カラー").asBoolean());
    }

    void memoKeepsLineBreaksAsCrLf() {
        QCOMPARE(f->comment->blockCount(), 2);
        QCOMPARE(f->comment->toPlainText(), QStringLiteral("一行目\n二行目"));
        f->comment->setFocus();
        f->comment->moveCursor(QTextCursor::End);
        QTest::keyClick(f->comment, Qt::Key_Return);  // a memo takes Enter
        typeText(f->comment, QStringLiteral("三行目"));
        QCOMPARE(f->titles.state(), TableState::Edit);
        QTest::keyClick(f->comment, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f->plain);
        QCOMPARE(f->titles.fieldU8("コメント").asString(), sj("一行目\r\n二行目\r\n三行目"));
    }

    void typingIntoAnEmptyTableStartsANewRow() {
        f->titles.close();
        f->titles.openFrom(makePacket(titleFields(), {}));
        f->title->setFocus();
        typeText(f->title, QStringLiteral("新作"));
        QCOMPARE(f->titles.state(), TableState::Insert);
        QCOMPARE(f->title->text(), QStringLiteral("新作"));
        QTest::keyClick(f->title, Qt::Key_Tab);
        f->titles.post();
        QCOMPARE(f->titles.recordCount(), 1);
        QCOMPARE(f->text("タイトル"), QStringLiteral("新作"));
    }

    void unknownFieldIsReported() {
        TDBEdit edit;
        QVERIFY_THROWS_EXCEPTION(std::exception, f->bind(&edit, "NOSUCH"));
        QVERIFY(edit.isReadOnly());
    }

    void screenshotShowsJapanese() {
        f->window.resize(300, 420);
        QVERIFY(QTest::qWaitForWindowExposed(&f->window));
        QTemporaryDir dir;
        const QImage shot = savedPicture(f->window, dir, QStringLiteral("bound_controls"));
        QCOMPARE(shot.size(), f->window.size() * f->window.devicePixelRatio());
        QVERIFY(showsText(shot, &f->window, f->title, QStringLiteral("ローマの休日")));
        QVERIFY(showsText(shot, &f->window, f->genre, QStringLiteral("ロマンス")));
        QVERIFY(showsText(shot, &f->window, f->impress, QStringLiteral("感動")));
        QVERIFY(showsText(shot, &f->window, f->comment, QStringLiteral("一行目二行目")));
        QVERIFY(!showsText(shot, &f->window, f->plain, QStringLiteral("空")));
    }

signals:
    void focusedIn(QObject* o);

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::FocusIn) emit focusedIn(o);
        return false;
    }
};

QTEST_MAIN(DbControlsTest)
#include "db_controls_test.moc"
