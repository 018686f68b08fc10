#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include "controls/r_edit.h"
#include "controls/ret_edit.h"
#include "controls/warning_beep.h"

using namespace tamboro;

namespace {

struct Form {
    QWidget window;
    TREdit* first = new TREdit(&window);
    TRetEdit* middle = new TRetEdit(&window);
    TREdit* last = new TREdit(&window);
    Form() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(first);
        layout->addWidget(middle);
        layout->addWidget(last);
        window.show();
        window.activateWindow();
    }
};

// Types each character as a key click of its own.
void typeKeys(QWidget* w, const QString& chars) {
    for (QChar c : chars) QTest::keyClick(w, c.toLatin1());
}

}  // namespace

class REditTest : public QObject {
    Q_OBJECT
    int beeps = 0;
    std::unique_ptr<Form> f;

private slots:
    void initTestCase() { setWarningBeepHook([this] { ++beeps; }); }
    void init() {
        beeps = 0;
        f = std::make_unique<Form>();
        QVERIFY(QTest::qWaitForWindowActive(&f->window));
    }
    void cleanup() { f.reset(); }

    void filtersTypedCharacters_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("beeps");
        QTest::newRow("plus integer") << int(TREdit::ntPlusInteger) << "" << 0 << "1a2-." << "12" << 3;
        QTest::newRow("plus real takes one point") << int(TREdit::ntPlusReal) << "" << 0 << "1.5.-" << "1.5" << 2;
        QTest::newRow("real rejects second point") << int(TREdit::ntReal) << "3.5" << 3 << "." << "3.5" << 1;
        QTest::newRow("integer minus after digit") << int(TREdit::ntInteger) << "42" << 1 << "-" << "42" << 1;
        QTest::newRow("integer minus at start") << int(TREdit::ntInteger) << "42" << 0 << "-" << "-42" << 0;
        QTest::newRow("integer rejects point") << int(TREdit::ntInteger) << "" << 0 << "-1.2" << "-12" << 1;
        QTest::newRow("real minus only once") << int(TREdit::ntReal) << "-1" << 0 << "-" << "-1" << 1;
        QTest::newRow("dont care takes anything") << int(TREdit::ntDontCare) << "" << 0 << "a-.-1" << "a-.-1" << 0;
        QTest::newRow("space is rejected") << int(TREdit::ntPlusInteger) << "" << 0 << "1 2" << "12" << 1;
    }
    void filtersTypedCharacters() {
        QFETCH(int, type);
        QFETCH(QString, start);
        QFETCH(int, caret);
        QFETCH(QString, typed);
        f->first->setNumericType(TREdit::TNumericType(type));
        f->first->setText(start);
        f->first->setFocus();
        f->first->setCursorPosition(caret);
        typeKeys(f->first, typed);
        QTEST(f->first->text(), "result");
        QTEST(beeps, "beeps");
    }

    void minusAgainstASelection() {
        f->first->setNumericType(TREdit::ntReal);
        f->first->setFocus();
        f->first->setText(QStringLiteral("-3.5"));
        f->first->selectAll();
        QTest::keyClick(f->first, '-');  // the selected text already holds one
        QCOMPARE(f->first->text(), QStringLiteral("-3.5"));
        QCOMPARE(beeps, 1);

        f->first->setText(QStringLiteral("42"));
        f->first->selectAll();
        QTest::keyClick(f->first, '-');  // enters at the start, keeping the selected text
        QCOMPARE(f->first->text(), QStringLiteral("-42"));
        f->first->setText(QStringLiteral("123"));
        f->first->setSelection(1, 2);
        QTest::keyClick(f->first, '-');
        QCOMPARE(f->first->text(), QStringLiteral("123"));
        QVERIFY(!f->first->hasSelectedText());
        QCOMPARE(f->first->cursorPosition(), 1);
        QCOMPARE(beeps, 2);
    }

    void onlyTypedCharactersAreFiltered() {
        f->first->setNumericType(TREdit::ntPlusInteger);
        f->first->setFocus();
        f->first->setText(QStringLiteral("1234"));
        f->first->setCursorPosition(4);
        QTest::keyClick(f->first, Qt::Key_Backspace);
        QTest::keyClick(f->first, Qt::Key_Home);
        QTest::keyClick(f->first, Qt::Key_Delete);
        QTest::keyClick(f->first, Qt::Key_Right);
        QTest::keyClick(f->first, Qt::Key_Left);
        QCOMPARE(f->first->text(), QStringLiteral("23"));
        QCOMPARE(beeps, 0);
        // Control characters are refused; a program or a paste may set any text.
        f->first->selectAll();
        QTest::keyClick(f->first, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(f->first->text(), QStringLiteral("23"));
        QCOMPARE(beeps, 1);
        f->first->setText(QStringLiteral("ab"));
        f->first->end(false);
        typeKeys(f->first, QStringLiteral("3"));
        QCOMPARE(f->first->text(), QStringLiteral("ab3"));
        // Changing the type leaves the text alone.
        f->first->setNumericType(TREdit::ntDontCare);
        QCOMPARE(f->first->text(), QStringLiteral("ab3"));
    }

    void keyPressHandlerSeesEveryCharacterBeforeTheFilter() {
        QString seen;
        f->first->keyHandlers().onKeyPress = [&](QWidget*, QChar& ch) { seen += ch; };
        f->first->setNumericType(TREdit::ntPlusInteger);
        f->first->setFocus();
        typeKeys(f->first, QStringLiteral("1a"));
        QTest::keyClick(f->first, Qt::Key_Return);
        QCOMPARE(seen, QStringLiteral("1a\r"));
        QCOMPARE(f->first->text(), QStringLiteral("1"));
        QCOMPARE(QApplication::focusWidget(), f->middle);
    }

    void enterAndArrowsMoveTheFocus() {
        f->first->setFocus();
        QTest::keyClick(f->first, Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), f->middle);
        QTest::keyClick(f->middle, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f->last);
        QTest::keyClick(f->last, Qt::Key_Down);  // wraps to the first
        QCOMPARE(QApplication::focusWidget(), f->first);
        QTest::keyClick(f->first, Qt::Key_Up);  // and back to the last
        QCOMPARE(QApplication::focusWidget(), f->last);
        QTest::keyClick(f->last, Qt::Key_Return, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), f->first);
        QCOMPARE(f->first->text(), QString());
    }

    void returnNextOffKeepsArrowsAndRejectsCarriageReturnInNumbers() {
        f->first->setReturnNext(false);
        f->first->setNumericType(TREdit::ntPlusInteger);
        f->first->setFocus();
        QTest::keyClick(f->first, Qt::Key_Down);
        QTest::keyClick(f->first, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f->first);
        QCOMPARE(beeps, 1);
    }

    void keyboardEntrySelectsAllButAClickDoesNot() {
        f->last->setText(QStringLiteral("1999"));
        f->middle->setFocus();
        QTest::keyClick(f->middle, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f->last);
        QCOMPARE(f->last->selectedText(), QStringLiteral("1999"));
        QCOMPARE(f->last->cursorPosition(), 4);

        f->middle->setFocus();
        f->last->setFocus(Qt::OtherFocusReason);  // from the program
        QCOMPARE(f->last->selectedText(), QStringLiteral("1999"));

        f->middle->setFocus();
        QTest::mouseClick(f->last, Qt::LeftButton, {}, QPoint(2, f->last->height() / 2));
        QCOMPARE(QApplication::focusWidget(), f->last);
        QVERIFY(!f->last->hasSelectedText());

        f->last->setAutoSelect(false);
        f->middle->setFocus();
        QTest::keyClick(f->middle, Qt::Key_Tab);
        QVERIFY(!f->last->hasSelectedText());
    }

    void alignmentChangesKeepTheText() {
        TREdit e;
        QCOMPARE(e.textAlignment(), TREdit::taLeftJustify);
        QCOMPARE(e.numericType(), TREdit::ntDontCare);
        QVERIFY(e.returnNext());
        e.setText(QStringLiteral("120"));
        e.setTextAlignment(TREdit::taRightJustify);
        QCOMPARE(e.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        e.setTextAlignment(TREdit::taCenter);
        QCOMPARE(e.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(e.text(), QStringLiteral("120"));
        QCOMPARE(e.property("Alignment").toInt(), int(TREdit::taCenter));
    }
};

QTEST_MAIN(REditTest)
#include "r_edit_test.moc"
