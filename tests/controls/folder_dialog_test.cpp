#include <QAbstractItemModelTester>
#include <QDir>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <memory>

#include "controls/folder_dialog.h"

using namespace tamboro;

namespace {

// Runs Execute with `act` done inside the modal loop; a browser that `act`
// left open is cancelled.
bool execute(TFolderDialog& dialog, const std::function<void(TFolderBrowser*)>& act) {
    QTimer::singleShot(0, [&] {
        TFolderBrowser* b = dialog.browser();
        act(b);
        if (b->isVisible()) b->reject();
    });
    return dialog.Execute();
}

// Keys for ASCII, the input method's commit for the rest (as Japanese comes).
void type(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(w, c.toLatin1());
            continue;
        }
        QInputMethodEvent commit;
        commit.setCommitString(c);
        QCoreApplication::sendEvent(w, &commit);
    }
}

QString selectedPath(TFolderBrowser* b) {
    const QModelIndexList s = b->tree()->selectionModel()->selectedIndexes();
    return s.size() > 1 ? "several" : s.isEmpty() ? QString() : b->pathOf(s.first());
}

// The part of an item in view, if all its height is; else empty.
QRect inView(TFolderBrowser* b, const QModelIndex& item) {
    const QRect vp = b->tree()->viewport()->rect(), r = b->tree()->visualRect(item);
    return item.isValid() && r.top() >= vp.top() && r.bottom() <= vp.bottom() ? r & vp : QRect();
}
bool shown(TFolderBrowser* b, const QModelIndex& item) { return !inView(b, item).isEmpty(); }

}  // namespace

class FolderDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> tmp_;
    QString home_;

    // "~" and "~/..." stand for the home folder, "-" for no text.
    QString home(const QString& rel) const {
        if (rel == "-") return {};
        return rel.startsWith('~') ? home_ + rel.mid(1) : rel.isEmpty() ? home_ : home_ + '/' + rel;
    }
    QString mk(const QString& rel) const {
        QDir().mkpath(home(rel));
        return home(rel);
    }

private slots:
    // Each test gets a home folder of its own, so the home place is ours.
    void init() {
        tmp_ = std::make_unique<QTemporaryDir>();
        home_ = tmp_->filePath(QStringLiteral("home"));
        QVERIFY(QDir().mkpath(home_));
        qputenv("HOME", home_.toUtf8());
    }

    void preselection_data() {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("selected");
        QTest::newRow("a folder in home") << "zz/target" << "zz/target";
        QTest::newRow("with a trailing slash") << "zz/target/" << "zz/target";
        QTest::newRow("a hidden folder") << ".config/tamboro" << ".config/tamboro";
        QTest::newRow("the home folder") << "" << "";
        QTest::newRow("a missing folder") << "zz/none" << "-";
        QTest::newRow("a file") << "zz/file.txt" << "-";
        QTest::newRow("empty") << "-" << "-";
    }
    // In a home of 60 folders, an existing Directory is selected under the
    // home place and stays in view once the folders on the way are listed
    // and sorted; nothing else is listed. Anything else selects nothing.
    // The field holds Directory as given, selected, with the focus.
    void preselection() {
        QFETCH(QString, directory);
        QFETCH(QString, selected);
        for (int i = 0; i < 60; ++i) mk(QStringLiteral("a%1").arg(i, 2, 10, QChar('0')));
        mk(QStringLiteral("zz/target"));
        mk(QStringLiteral(".config/tamboro"));
        QFile file(home(QStringLiteral("zz/file.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        TFolderDialog d;
        d.setDirectory(home(directory));
        execute(d, [&](TFolderBrowser* b) {
            QCOMPARE(b->pathEdit()->selectedText(), home(directory));
            QCOMPARE(b->focusWidget(), b->pathEdit());
            QCOMPARE(selectedPath(b), home(selected));
            QCOMPARE(b->statusText(), home(selected));
            if (selected == "-") return;
            QModelIndex top = b->tree()->currentIndex();
            while (top.parent().parent().isValid()) top = top.parent();
            QCOMPARE(b->pathOf(top), home_);
            QTRY_VERIFY(b->tree()->model()->rowCount(b->indexOf(home_)) >= 60);
            QTest::qWait(50);
            QVERIFY(shown(b, b->tree()->currentIndex()));
            QVERIFY(b->tree()->model()->canFetchMore(b->indexOf(home(QStringLiteral("a59")))));
        });
    }

    void confirmation_data() {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("select");  // "computer", a folder, or nothing
        QTest::addColumn<QString>("typed");   // into the cleared field; "\b" clears only
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("expected");
        QTest::newRow("OK on a folder") << "x" << "y" << "" << "ok" << true << "y";
        QTest::newRow("Enter in the tree") << "x" << "y" << "" << "enter in tree" << true << "y";
        QTest::newRow("Cancel") << "x" << "y" << "" << "cancel" << false << "x";
        QTest::newRow("Escape") << "x" << "y" << "" << "escape" << false << "x";
        QTest::newRow("OK on the computer") << "x" << "computer" << "" << "ok" << true << "x";
        QTest::newRow("OK on the home place") << "x" << "~" << "" << "ok" << true << "~";
        QTest::newRow("OK untouched") << "x" << "" << "" << "ok" << true << "x";
        QTest::newRow("OK, Directory missing") << "gone" << "computer" << "" << "ok" << true << "gone";
        QTest::newRow("field cleared") << "x" << "y" << "\b" << "ok" << true << "y";
        QTest::newRow("typed existing") << "x" << "" << "~/y" << "enter" << true << "y";
        QTest::newRow("typed new") << "x" << "y" << "~/新しい フォルダー" << "enter" << true << "新しい フォルダー";
        QTest::newRow("typed over the computer") << "x" << "computer" << "~/y" << "ok" << true << "y";
        QTest::newRow("typed, then Cancel") << "x" << "" << "~/z" << "cancel" << false << "x";
    }
    // Execute's result and Directory for each way of leaving the browser;
    // the status line and the field follow the selection on the way. Typed
    // paths come back as typed ("~" spelled out), existing or not, and
    // nothing is created.
    void confirmation() {
        QFETCH(QString, directory);
        QFETCH(QString, select);
        QFETCH(QString, typed);
        QFETCH(QString, action);
        QFETCH(bool, result);
        QFETCH(QString, expected);
        mk(QStringLiteral("x"));
        mk(QStringLiteral("y"));
        TFolderDialog d;
        d.setDirectory(home(directory));
        const bool r = execute(d, [&](TFolderBrowser* b) {
            QTreeView* tree = b->tree();
            if (!select.isEmpty()) {
                const bool computer = select == "computer";
                tree->setCurrentIndex(computer ? tree->model()->index(0, 0) : b->indexOf(home(select)));
                QCOMPARE(b->statusText(), computer ? QString() : home(select));
                QCOMPARE(b->pathEdit()->text(), b->statusText());
            }
            if (!typed.isEmpty()) {
                b->pathEdit()->clear();
                if (typed != "\b") type(b->pathEdit(), typed);
            }
            if (action == "ok") b->okButton()->click();
            if (action == "cancel") b->cancelButton()->click();
            if (action == "enter") QTest::keyClick(b->pathEdit(), Qt::Key_Return);
            if (action == "enter in tree") QTest::keyClick(tree, Qt::Key_Return);
            if (action == "escape") QTest::keyClick(b->pathEdit(), Qt::Key_Escape);
            QVERIFY(!b->isVisible());
        });
        QCOMPARE(r, result);
        QCOMPARE(d.directory(), home(expected));
        QCOMPARE(QDir(home_).entryList(QDir::Dirs | QDir::NoDotAndDotDot), (QStringList{"x", "y"}));
    }

    // A click in the tree selects; a path too long for the status line is
    // elided there and whole in its tooltip. Far beyond the old 259-byte
    // buffer, with characters Shift-JIS lacks, it comes back byte for byte,
    // picked or typed.
    void longNonAsciiPath() {
        QString deep = home_;
        for (int i = 1; deep.toUtf8().size() < 800; ++i)
            deep += QStringLiteral("/バックアップ用の とても長い名前のフォルダー 第%1階層 🎬").arg(i);
        QVERIFY(QDir().mkpath(deep));
        const QString parent = QFileInfo(deep).path(), fresh = deep + QStringLiteral("/新規 フォルダー 🎞");
        TFolderDialog d;
        d.setDirectory(parent);
        QVERIFY(execute(d, [&](TFolderBrowser* b) {
            QTreeView* tree = b->tree();
            const QModelIndex item = b->indexOf(deep);
            tree->scrollTo(item);
            QTRY_VERIFY(shown(b, item));
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, inView(b, item).center());
            QCOMPARE(b->statusText(), deep);
            QCOMPARE(b->statusLabel()->toolTip(), deep);
            QVERIFY(b->statusLabel()->text().size() < deep.size());
            b->okButton()->click();
        }));
        QCOMPARE(d.directory(), deep);
        QVERIFY(execute(d, [&](TFolderBrowser* b) {
            b->pathEdit()->end(false);
            type(b->pathEdit(), fresh.mid(deep.size()));
            QTest::keyClick(b->pathEdit(), Qt::Key_Return);
        }));
        QCOMPARE(d.directory().toUtf8(), fresh.toUtf8());
    }

    // Title is shown as it stands at each call, over the owner's window.
    void titleIsReadAtEachCall() {
        QWidget owner;
        TFolderDialog d(new QWidget(&owner));
        for (const QString title : {"フォルダーの選択", "バックアップ先フォルダ指定", "バックアップデータの存在するフォルダ指定"}) {
            if (title != d.title()) d.setTitle(title);
            execute(d, [&](TFolderBrowser* b) {
                QCOMPARE(b->titleLabel()->text(), title);
                QCOMPARE(b->parentWidget(), &owner);
            });
        }
        QVERIFY(!d.browser());
    }

    // Over two overlapping places the tree stays a sound model while folders
    // load, appear and go; a change below both shows under both, and a
    // selected folder that goes leaves the status line empty.
    void overlappingPlacesStayConsistent() {
        const QString root = tmp_->path();
        mk(QStringLiteral("p/q"));
        mk(QStringLiteral("o/below"));
        TFolderBrowser b(QString(), home(QStringLiteral("p/q")), {{root, "root"}, {home_, "home"}});
        QAbstractItemModel* m = b.tree()->model();
        QAbstractItemModelTester tester(m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QModelIndex rootPlace = m->index(0, 0, m->index(0, 0)), viaHome = m->index(1, 0, m->index(0, 0));
        QCOMPARE(b.tree()->currentIndex().parent().parent(), viaHome);  // under the closer place
        b.tree()->expand(rootPlace);
        QTRY_COMPARE(m->rowCount(rootPlace), 1);
        const QModelIndex viaRoot = m->index(0, 0, rootPlace);
        QCOMPARE(b.pathOf(viaRoot), home_);
        b.tree()->expand(viaRoot);
        QTRY_COMPARE(m->rowCount(viaRoot), 2);
        mk(QStringLiteral("n"));
        QTRY_COMPARE(m->rowCount(viaRoot), 3);
        QTRY_COMPARE(m->rowCount(viaHome), 3);
        QVERIFY(QDir(home(QStringLiteral("p"))).removeRecursively());
        QTRY_COMPARE(m->rowCount(viaHome), 2);
        QCOMPARE(m->rowCount(viaRoot), 2);
        QCOMPARE(m->index(1, 0, viaRoot).data().toString(), QStringLiteral("o"));
        QCOMPARE(b.statusText(), QString());
    }

    void userMedia_data() {
        QTest::addColumn<QString>("root");
        QTest::addColumn<QByteArray>("device");
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<bool>("medium");
        QTest::newRow("USB stick") << "/media/u/STICK" << QByteArray("/dev/sdb1") << QByteArray("vfat") << true;
        QTest::newRow("NFS share") << "/mnt/nas" << QByteArray("nas:/export") << QByteArray("nfs4") << true;
        QTest::newRow("root") << "/" << QByteArray("/dev/sda2") << QByteArray("ext4") << false;
        QTest::newRow("snap") << "/snap/core/1" << QByteArray("/dev/loop3") << QByteArray("squashfs") << false;
        QTest::newRow("tmpfs") << "/mnt/scratch" << QByteArray("tmpfs") << QByteArray("tmpfs") << false;
    }
    // Real media are offered; the root (offered anyway) and pseudo file
    // systems are not. On this machine the root and home come first.
    void userMedia() {
        QFETCH(QString, root);
        QFETCH(QByteArray, device);
        QFETCH(QByteArray, type);
        QFETCH(bool, medium);
        QCOMPARE(isUserMedium(root, device, type), medium);
        const QList<FolderPlace> places = folderPlaces();
        QCOMPARE(places.value(0).path, QStringLiteral("/"));
        QCOMPARE(places.value(1).path, home_);
    }
};

QTEST_MAIN(FolderDialogTest)
#include "folder_dialog_test.moc"
