#include <QAbstractItemView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>

#include "controls/app_font.h"
#include "controls/ime_mode.h"
#include "controls/ret_check_box.h"
#include "controls/ret_combo_box.h"
#include "controls/ret_edit.h"
#include "window_test_support.h"

using namespace tamboro;
using namespace tamboro::test;

// A small form: edit, combo, check box, a disabled edit, a hidden edit, and a
// last edit, in that tab order; each control named as its member.
struct Form {
    QWidget window;
    TRetEdit* first = new TRetEdit(&window);
    TRetComboBox* combo = new TRetComboBox(&window);
    TRetCheckBox* check = new TRetCheckBox(QStringLiteral("感動"), &window);
    TRetEdit* disabled = new TRetEdit(&window);
    TRetEdit* hidden = new TRetEdit(&window);
    TRetEdit* last = new TRetEdit(&window);

    Form() {
        auto* layout = new QVBoxLayout(&window);
        const char* names[] = {"first", "combo", "check", "disabled", "hidden", "last"};
        int i = 0;
        for (QWidget* w : std::initializer_list<QWidget*>{first, combo, check, disabled, hidden, last}) {
            w->setObjectName(QString::fromLatin1(names[i++]));
            layout->addWidget(w);
        }
        combo->addItems({QStringLiteral("アクション"), QStringLiteral("SF"), QStringLiteral("ドラマ")});
        disabled->setEnabled(false);
        hidden->hide();
        window.setFont(appFont());
        window.show();
        window.activateWindow();
    }
    QWidget* byName(const QString& name) { return window.findChild<QWidget*>(name); }
};

class RetControlsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Form> f;

private slots:
    void initTestCase() { installFontSubstitutions(); }
    void init() {
        f = std::make_unique<Form>();
        QVERIFY(QTest::qWaitForWindowActive(&f->window));
    }
    void cleanup() { f.reset(); }

    void enterMovesForward_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mods");
        QTest::addColumn<QString>("to");
        QTest::newRow("edit") << "first" << int(Qt::Key_Return) << 0 << "combo";
        QTest::newRow("keypad Enter on a combo") << "combo" << int(Qt::Key_Enter) << 0 << "check";
        QTest::newRow("skipping disabled and hidden") << "check" << int(Qt::Key_Return) << 0 << "last";
        QTest::newRow("wraps") << "last" << int(Qt::Key_Return) << 0 << "first";
        QTest::newRow("Shift still forward") << "combo" << int(Qt::Key_Return) << int(Qt::ShiftModifier) << "check";
        QTest::newRow("Ctrl+Enter is no carriage return") << "first" << int(Qt::Key_Return) << int(Qt::ControlModifier)
                                                          << "first";
    }
    void enterMovesForward() {
        QFETCH(QString, from);
        QFETCH(int, key);
        QFETCH(int, mods);
        QFETCH(QString, to);
        QWidget* start = f->byName(from);
        start->setFocus();
        QTest::keyClick(start, Qt::Key(key), Qt::KeyboardModifiers(mods));
        QCOMPARE(QApplication::focusWidget(), f->byName(to));
    }

    // The form's key-press handler sees and may swallow characters, never Enter.
    void enterNeverTogglesCheckBoxAndNeverReachesTheEditOrItsHandler() {
        QSignalSpy returns(f->first, &QLineEdit::returnPressed);
        QString seen;
        f->first->keyHandlers().onKeyPress = [&](QWidget*, QChar& ch) {
            seen += ch;
            if (ch == QLatin1Char('x')) ch = QChar();
        };
        f->first->setFocus();
        QTest::keyClicks(f->first, QStringLiteral("axb"));
        QTest::keyClick(f->first, Qt::Key_Return);
        QCOMPARE(f->first->text(), QStringLiteral("ab"));
        QCOMPARE(seen, QStringLiteral("axb"));
        QCOMPARE(returns.count(), 0);
        QTest::keyClick(f->combo, Qt::Key_Return);
        QTest::keyClick(f->check, Qt::Key_Return);
        QVERIFY(!f->check->isChecked());
        f->check->setFocus();
        QTest::keyClick(f->check, Qt::Key_Space);  // space still toggles
        QVERIFY(f->check->isChecked());
    }

    void returnNextOffLeavesEnterToTheControl() {
        f->first->setReturnNext(false);
        QSignalSpy returns(f->first, &QLineEdit::returnPressed);
        f->first->setFocus();
        QTest::keyClick(f->first, Qt::Key_Return);
        QCOMPARE(returns.count(), 1);
        QCOMPARE(QApplication::focusWidget(), f->first);
    }

    void editableComboKeepsItsItemsOnEnter() {
        f->combo->setEditable(true);
        f->combo->setFocus();
        f->combo->lineEdit()->selectAll();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("new"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f->check);
        QCOMPARE(f->combo->count(), 3);
        QCOMPARE(f->combo->currentText(), QStringLiteral("new"));
    }

    // Enter on the open list closes it without a choice, unless Enter is
    // left to the control.
    void enterOnOpenList_data() {
        QTest::addColumn<bool>("returnNext");
        QTest::addColumn<int>("index");
        QTest::newRow("moves on") << true << 0;
        QTest::newRow("return next off") << false << 2;
    }
    void enterOnOpenList() {
        QFETCH(bool, returnNext);
        f->combo->setReturnNext(returnNext);
        f->combo->setCurrentIndex(0);
        f->combo->setFocus();
        f->combo->showPopup();
        QAbstractItemView* list = f->combo->view();
        QTRY_VERIFY(list->isVisible());
        list->setCurrentIndex(list->model()->index(2, 0));
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_VERIFY(!list->isVisible());
        QTEST(f->combo->currentIndex(), "index");
        // The offscreen platform leaves the closed list as the active window,
        // so ask the form where its focus is.
        if (returnNext) QTRY_COMPARE(f->window.focusWidget(), f->check);
    }

    void enterSkipsControlsOnHiddenPages() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* before = new TRetEdit(&window);
        auto* pages = new QTabWidget(&window);
        TRetEdit* onPage[2];
        for (int i = 0; i < 2; ++i) {
            auto* page = new QWidget;
            (new QVBoxLayout(page))->addWidget(onPage[i] = new TRetEdit(page));
            pages->addTab(page, QString::number(i));
        }
        pages->setFocusPolicy(Qt::NoFocus);
        auto* after = new TRetEdit(&window);
        layout->addWidget(before);
        layout->addWidget(pages);
        layout->addWidget(after);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        onPage[0]->setFocus();
        QTest::keyClick(onPage[0], Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), after);
        pages->setCurrentIndex(1);
        before->setFocus();
        QTest::keyClick(before, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), onPage[1]);
    }

    void imeModeFollowsTheControl() {
        setImeMode(f->first, ImeMode::Open);
        setImeMode(f->combo, ImeMode::Close);
        f->combo->setEditable(true);  // resets the attribute; entry applies it again
        f->first->setFocus();
        QVERIFY(f->first->testAttribute(Qt::WA_InputMethodEnabled));
        QTest::keyClick(f->first, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f->combo);
        QVERIFY(!f->combo->testAttribute(Qt::WA_InputMethodEnabled));
        QVERIFY(f->combo->inputMethodHints() & Qt::ImhPreferLatin);
        QCOMPARE(imeMode(f->combo), ImeMode::Close);
        QCOMPARE(imeMode(f->check), ImeMode::DontCare);
    }

    void screenshotOfAFormRendersJapanese() {
        f->first->setText(QStringLiteral("ローマの休日"));
        f->last->setText(QStringLiteral("七人の侍"));
        f->window.resize(240, 200);
        QTemporaryDir dir;
        const QImage shot = savedPicture(f->window, dir, QStringLiteral("ret_controls"));
        QCOMPARE(shot.size(), f->window.size() * f->window.devicePixelRatio());
        // The Japanese family resolves to a real Japanese font, and the
        // texts are drawn with its glyphs; an empty edit holds no ink.
        QVERIFY(QFontInfo(appFont()).family().contains(QStringLiteral("IPA")));
        QVERIFY(showsText(shot, &f->window, f->first, f->first->text()));
        QVERIFY(showsText(shot, &f->window, f->last, f->last->text()));
        QVERIFY(showsText(shot, &f->window, f->check, f->check->text()));
        QVERIFY(!showsText(shot, &f->window, f->disabled, QStringLiteral("空")));
    }
};

QTEST_MAIN(RetControlsTest)
#include "ret_controls_test.moc"
