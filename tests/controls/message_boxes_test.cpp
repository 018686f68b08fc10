// The default error box and the program's message boxes.
#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "controls/message_boxes.h"
#include "data/error.h"
#include "window_test_support.h"

using namespace tamboro;
using namespace tamboro::test;

namespace {

struct SeenBox {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton, escapeButton;
};

// Reads the next message box, then presses the button with this text (or
// Escape when empty).
SeenBox answerNextBox(const QString& press, const std::function<void()>& show) {
    SeenBox seen;
    onNextModal([&seen, press](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box) return;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
        if (box->defaultButton()) seen.defaultButton = box->defaultButton()->text();
        if (box->escapeButton()) seen.escapeButton = box->escapeButton()->text();
        if (press.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton* b : box->buttons())
            if (b->text() == press) b->click();
    });
    show();
    return seen;
}

}  // namespace

class MessageBoxesTest : public QObject {
    Q_OBJECT
private slots:
    void fullStopIsAddedUnlessTheLastCharacterSortsAtOrBelowIt_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("japanese") << "データパケットが間違っています" << "データパケットが間違っています.";
        QTest::newRow("full stop") << "Disk full." << "Disk full.";
        QTest::newRow("comma") << "a," << "a,";
        QTest::newRow("minus") << "1 - " << "1 - ";
        QTest::newRow("exclamation") << "stop!" << "stop!";
        QTest::newRow("slash") << "/data/" << "/data/.";
        QTest::newRow("digit") << "line 12" << "line 12.";
        QTest::newRow("ideographic full stop") << "書き込めません。" << "書き込めません。.";
        QTest::newRow("empty") << "" << "";
    }
    void fullStopIsAddedUnlessTheLastCharacterSortsAtOrBelowIt() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(errorBoxText(message), shown);
    }

    void defaultErrorBoxIsTitledTamboroWithAnErrorIconAndOk() {
        const SeenBox seen = answerNextBox(QStringLiteral("OK"), [] {
            ShowDefaultError(DataError(std::string("'%s' は日付ではありません")));
        });
        QCOMPARE(seen.title, QStringLiteral("Tamboro"));
        QCOMPARE(seen.text, QStringLiteral("'%s' は日付ではありません."));
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QCOMPARE(seen.buttons, QStringList{"OK"});
    }

    void guardedHandlerReportsAndTheProgramGoesOn() {
        ErrorCollector errors;
        int after = 0;
        QVERIFY(!guarded([] { throw DataError("データセットは閉じているため, この操作は実行できません"); }));
        QVERIFY(guarded([&] { ++after; }));
        QCOMPARE(after, 1);
        QCOMPARE(errors.messages, QStringList{"データセットは閉じているため, この操作は実行できません."});
    }

    void confirmationDefaultsToYesAndEscapeMeansNo() {
        bool answer = false;
        SeenBox seen = answerNextBox(QStringLiteral("はい(&Y)"), [&] { answer = AskConfirmation(QStringLiteral("復元しますか？")); });
        QVERIFY(answer);
        QCOMPARE(seen.title, QStringLiteral("確認"));
        QCOMPARE(seen.defaultButton, QStringLiteral("はい(&Y)"));
        QCOMPARE(seen.escapeButton, QStringLiteral("いいえ(&N)"));
        answerNextBox(QString(), [&] { answer = AskConfirmation(QStringLiteral("復元しますか？")); });
        QVERIFY(!answer);
        seen = answerNextBox(QStringLiteral("OK"), [] { ShowInformation(QStringLiteral("バックアップしました")); });
        QCOMPARE(seen.title, QStringLiteral("情報"));
        QCOMPARE(seen.buttons, QStringList{"OK"});
    }

    // The one hook takes every kind of box, as the user would see it, and
    // its answer is the box's.
    void hookSeesEveryBoxAndAnswersForTheUser_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("error") << int(BoxKind::Error) << "Tamboro" << "書き込めません.";
        QTest::newRow("information") << int(BoxKind::Information) << "情報" << "データがありません。";
        QTest::newRow("confirmation") << int(BoxKind::Confirmation) << "確認" << "【】 を削除してよろしいですか？";
        QTest::newRow("deletion") << int(BoxKind::DeleteRecord) << "確認" << "レコードを削除してもよいですか？";
    }
    void hookSeesEveryBoxAndAnswersForTheUser() {
        QFETCH(int, kind);
        QFETCH(QString, title);
        QFETCH(QString, text);
        for (bool answer : {true, false}) {
            ErrorCollector boxes;
            boxes.answer = answer;
            bool answered = !answer;
            switch (BoxKind(kind)) {
            case BoxKind::Error: ShowDefaultError(QStringLiteral("書き込めません")); answered = answer; break;
            case BoxKind::Information: ShowInformation(text); answered = answer; break;
            case BoxKind::Confirmation: answered = AskConfirmation(text); break;
            case BoxKind::DeleteRecord: answered = AskDeleteRecord(); break;
            }
            QCOMPARE(answered, answer);
            QCOMPARE(boxes.boxes.size(), size_t(1));
            QCOMPARE(int(boxes.boxes[0].kind), kind);
            QCOMPARE(boxes.boxes[0].title, title);
            QCOMPARE(boxes.boxes[0].text, text);
            QCOMPARE(boxes.messages.size(), kind == int(BoxKind::Error) ? 1 : 0);
        }
    }

    // An error met inside a focus change waits for the event loop, and is
    // dropped with the control it came from.
    void laterErrorWaitsForTheEventLoopAndDiesWithItsControl() {
        ErrorCollector errors;
        QObject control;
        auto* gone = new QObject;
        ShowDefaultErrorLater(&control, QStringLiteral("範囲外です"));
        ShowDefaultErrorLater(gone, QStringLiteral("消えた"));
        delete gone;
        QVERIFY(errors.messages.isEmpty());
        QTRY_COMPARE(errors.messages, QStringList{"範囲外です."});
    }

    void deletionQuestionOffersOkAndCancel() {
        bool answer = true;
        const SeenBox seen = answerNextBox(QString(), [&] { answer = AskDeleteRecord(); });
        QVERIFY(!answer);
        QCOMPARE(seen.title, QStringLiteral("確認"));
        QCOMPARE(seen.text, QStringLiteral("レコードを削除してもよいですか？"));
        QVERIFY(seen.buttons.contains("OK") && seen.buttons.contains("キャンセル"));
        QCOMPARE(seen.escapeButton, QStringLiteral("キャンセル"));
        answerNextBox(QStringLiteral("OK"), [&] { answer = AskDeleteRecord(); });
        QVERIFY(answer);
    }
};

QTEST_MAIN(MessageBoxesTest)
#include "message_boxes_test.moc"
