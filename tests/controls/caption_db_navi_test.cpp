#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include "bound_form.h"
#include "controls/app_font.h"
#include "controls/caption_db_navi.h"
#include "controls/caption_db_navi_button.h"
#include "controls/db_edit.h"
#include "data/error.h"

using namespace tamboro;
using namespace tamboro::test;
using Navi = TCaptionDBNavi;

Q_DECLARE_METATYPE(QList<TCaptionDBNavi::TNavigateBtn>)

// A navigator at (10, 10) of a window over the two-title table, with an edit
// bound to the title below it, the delete question answered by `answer`,
// errors collected.
struct Rig : BoundData {
    QTemporaryDir dir;  // where a changed table is written when it closes
    QWidget window;
    Navi* navi = new Navi(&window);
    TDBEdit* edit = new TDBEdit(&window);

    explicit Rig(int extraTitles = 0) {
        titles.setFile(dir.filePath("DvdData.xml").toStdString());
        for (int i = 0; i < extraTitles; ++i) {
            titles.append();
            titles.fieldU8("CODE").setInteger(10 + i);
            titles.post();
        }
        titles.first();
        window.setFont(appFont());
        window.resize(520, 120);
        navi->move(10, 10);
        navi->setDataSource(&dvdSource);
        edit->setGeometry(10, 80, 200, 24);
        bind(edit, "タイトル");
        window.show();
        window.activateWindow();
    }

    TNaviButton* b(Navi::TNavigateBtn k) const { return navi->button(k); }
    void hover(Navi::TNavigateBtn k) const { QTest::mouseMove(b(k), b(k)->rect().center()); }
    QString enabling() const {
        QString s;
        for (int k = 0; k < Navi::kButtonCount; ++k) s += b(Navi::TNavigateBtn(k))->isEnabled() ? '1' : '0';
        return s;
    }
    int blueCaptions() const {
        int n = 0;
        for (int k = 0; k < Navi::kButtonCount; ++k) n += b(Navi::TNavigateBtn(k))->captionColor() == QColor(Qt::blue);
        return n;
    }
};

Navi::TNavigateBtn kindNamed(const QString& name) {
    for (int k = 0; k < Navi::kButtonCount; ++k)
        if (Navi::buttonName(Navi::TNavigateBtn(k)) == name) return Navi::TNavigateBtn(k);
    qFatal("no button %s", qPrintable(name));
}

// The value of a data column, where QFETCH's declaration does not fit.
template <class T>
T fetched(const char* column) {
    return *static_cast<T*>(QTest::qData(column, qMetaTypeId<T>()));
}

QPoint centreOf(const QWidget* w) { return w->rect().center(); }

class CaptionDbNaviTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }

    // ---- enabling and actions on a real table ----------------------------------

    void buttonsFollowTheTable_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("enabled");  // First Prior Next Last Insert Delete Edit Post Cancel Refresh
        QTest::addColumn<int>("recNo");
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("count");
        QTest::newRow("opened") << "" << "0011111001" << 0 << "browse" << 3;
        QTest::newRow("next") << "Next" << "1111111001" << 1 << "browse" << 3;
        QTest::newRow("past the end") << "Last,Next" << "1100111001" << 2 << "browse" << 3;
        QTest::newRow("back to first") << "Last,First" << "0011111001" << 0 << "browse" << 3;
        QTest::newRow("edit") << "Edit" << "0011110111" << 0 << "edit" << 3;
        QTest::newRow("insert") << "Next,Insert" << "1111110111" << 1 << "insert" << 3;
        QTest::newRow("insert cancelled") << "Next,Insert,Cancel" << "1111111001" << 1 << "browse" << 3;
        QTest::newRow("delete") << "Next,Delete" << "1111111001" << 1 << "browse" << 2;
        QTest::newRow("delete all") << "Delete,Delete,Delete" << "0000101001" << -1 << "browse" << 0;
        QTest::newRow("refresh ends an edit") << "Edit,Refresh" << "0011111001" << 0 << "browse" << 3;
        QTest::newRow("edited elsewhere") << "t.edit" << "0011110111" << 0 << "edit" << 3;
        QTest::newRow("moved elsewhere") << "t.last" << "1111111001" << 2 << "browse" << 3;
        QTest::newRow("closed") << "t.close" << "0000000000" << -1 << "inactive" << -1;
        QTest::newRow("navigator disabled") << "off" << "0000000000" << 0 << "browse" << 3;
        QTest::newRow("enabled again") << "off,on" << "0011111001" << 0 << "browse" << 3;
        QTest::newRow("no data source") << "nosource" << "0000000000" << 0 << "browse" << 3;
    }
    void buttonsFollowTheTable() {
        QFETCH(QString, steps);
        Rig r(1);
        for (const QString& step : steps.split(',', Qt::SkipEmptyParts)) {
            if (step == "t.edit") r.titles.edit();
            else if (step == "t.last") r.titles.last();
            else if (step == "t.close") r.titles.close();
            else if (step == "off" || step == "on") r.navi->setEnabled(step == "on");
            else if (step == "nosource") r.navi->setDataSource(nullptr);
            else r.navi->BtnClick(kindNamed(step));
        }
        QCOMPARE(r.enabling(), fetched<QString>("enabled"));
        QCOMPARE(r.titles.recNo(), fetched<int>("recNo"));
        QCOMPARE(QString(stateName(r.titles.state())), fetched<QString>("state"));
        QCOMPARE(r.titles.active() ? r.titles.recordCount() : -1, fetched<int>("count"));
        QVERIFY(r.errors.isEmpty());
    }

    // Clicked is raised with or without a table; a refused action is reported
    // and ends the press.
    void eventsAroundAnAction() {
        Rig r;
        QSignalSpy before(r.navi, &Navi::beforeAction), clicked(r.navi, &Navi::clicked);
        QTest::mouseClick(r.b(Navi::nbNext), Qt::LeftButton);
        QCOMPARE(before.size(), 1);
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked[0][0].value<Navi::TNavigateBtn>(), Navi::nbNext);
        QCOMPARE(r.titles.recNo(), 1);

        r.titles.beforePost = [](Table&) { throw DataError("refused"); };
        r.navi->BtnClick(Navi::nbEdit);
        r.navi->BtnClick(Navi::nbPost);
        QCOMPARE(r.errors, QStringList{"refused."});
        QCOMPARE(r.titles.state(), TableState::Edit);
        QCOMPARE(before.size(), 3);
        QCOMPARE(clicked.size(), 2);
        r.titles.beforePost = nullptr;

        r.navi->setDataSource(nullptr);
        r.navi->BtnClick(Navi::nbFirst);
        QCOMPARE(before.size(), 3);
        QCOMPARE(clicked.size(), 3);
    }

    // The buttons take no focus, so the text still being typed reaches the
    // record it was typed for.
    void typedTextGoesWithTheRecord() {
        Rig r;
        QVERIFY(QTest::qWaitForWindowActive(&r.window));
        r.edit->setFocus();
        QTRY_VERIFY(r.edit->hasFocus());
        r.edit->selectAll();
        typeText(r.edit, QStringLiteral("生きる"));
        QTest::mouseClick(r.b(Navi::nbNext), Qt::LeftButton);
        QVERIFY(r.edit->hasFocus());
        QCOMPARE(r.titles.recNo(), 1);
        r.titles.first();
        QCOMPARE(r.text("タイトル"), QStringLiteral("生きる"));

        typeText(r.edit, QStringLiteral("!"));
        QTest::mouseClick(r.b(Navi::nbPost), Qt::LeftButton);
        QCOMPARE(r.titles.state(), TableState::Browse);
        QCOMPARE(r.text("タイトル"), QStringLiteral("生きる!"));
    }

    void deleteAsksFirst_data() {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("count");
        QTest::newRow("OK") << true << true << 1 << 1;
        QTest::newRow("cancel") << true << false << 1 << 2;
        QTest::newRow("not asked") << false << false << 0 << 1;
    }
    void deleteAsksFirst() {
        Rig r;
        r.navi->setConfirmDelete(fetched<bool>("confirm"));
        r.answer = fetched<bool>("answer");
        QTest::mouseClick(r.b(Navi::nbDelete), Qt::LeftButton);
        QCOMPARE(r.questions.size(), fetched<int>("asked"));
        QCOMPARE(r.titles.recordCount(), fetched<int>("count"));
    }

    void ownDeleteQuestion() {
        Rig r;
        const BoxHook rig = setBoxHook({});  // the box itself, on the screen
        QStringList seen;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen << box->windowTitle() << box->text();
            for (QAbstractButton* b : box->buttons()) seen << b->text();
            box->escapeButton()->click();
        });
        r.navi->BtnClick(Navi::nbDelete);
        setBoxHook(rig);
        QCOMPARE(seen, (QStringList{"確認", "レコードを削除してもよいですか？", "OK", "キャンセル"}));
        QCOMPARE(r.titles.recordCount(), 2);
    }

    // ---- hover colour ----------------------------------------------------------

    void onlyTheCaptionUnderThePointerIsBlue() {
        Rig r;
        QSignalSpy moved(r.navi, &Navi::mouseMoved);
        r.hover(Navi::nbNext);
        QCOMPARE(r.b(Navi::nbNext)->captionColor(), QColor(Qt::blue));
        QCOMPARE(r.blueCaptions(), 1);
        QCOMPARE(moved.last()[3].value<Navi::TNavigateBtn>(), Navi::nbNext);
        QCOMPARE(moved.last()[1].toInt(), r.b(Navi::nbNext)->geometry().center().x());

        r.hover(Navi::nbLast);
        QCOMPARE(r.b(Navi::nbLast)->captionColor(), QColor(Qt::blue));
        QCOMPARE(r.blueCaptions(), 1);

        // A disabled button passes the pointer to the navigator: no colour.
        r.hover(Navi::nbFirst);
        QCOMPARE(r.blueCaptions(), 0);
        QCOMPARE(moved.last()[3].value<Navi::TNavigateBtn>(), Navi::nbFirst);

        r.hover(Navi::nbInsert);
        QCOMPARE(r.blueCaptions(), 1);
        QTest::mouseMove(&r.window, QPoint(300, 100));
        QCOMPARE(r.blueCaptions(), 0);
        QCOMPARE(r.b(Navi::nbInsert)->captionColor(), r.navi->fontColor());
    }

    // ---- auto-repeat -------------------------------------------------------------

    void priorAndNextRepeatWhileHeld() {
        Rig r(6);
        TNaviButton* next = r.b(Navi::nbNext);
        auto* timer = next->findChild<QTimer*>("repeatTimer");
        QVERIFY(timer);
        QTest::mousePress(next, Qt::LeftButton, {}, centreOf(next));
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), TNaviButton::kRepeatDelayMs);
        QCOMPARE(r.titles.recNo(), 0);
        QTRY_VERIFY(r.titles.recNo() >= 2);
        QCOMPARE(timer->interval(), TNaviButton::kRepeatIntervalMs);

        // Dragged off the button: held, but no more steps until it comes back.
        QTest::mouseMove(next, QPoint(-5, -5));
        const int at = r.titles.recNo();
        QTest::qWait(3 * TNaviButton::kRepeatIntervalMs);
        QCOMPARE(r.titles.recNo(), at);
        QTest::mouseMove(next, centreOf(next));
        QTRY_VERIFY(r.titles.recNo() > at);

        // At the end the button goes disabled, and the repeat with it.
        QTRY_VERIFY(!next->isEnabled());
        QVERIFY(!timer->isActive());
        QTest::mouseRelease(next, Qt::LeftButton, {}, centreOf(next));
        QCOMPARE(r.titles.recNo(), r.titles.recordCount() - 1);

    }

    // ---- captions and glyphs -----------------------------------------------------

    void captionsByPosition_data() {
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<bool>("show");
        QTest::addColumn<QStringList>("expected");  // First, Next, Refresh
        QTest::newRow("defaults") << QStringList{} << true << QStringList{"&First", "&Next", "&Refresh"};
        QTest::newRow("empty keeps default")
            << QStringList{"最初", "前", "", "最後"} << true << QStringList{"最初", "&Next", "&Refresh"};
        QTest::newRow("eleventh ignored") << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}
                                          << true << QStringList{"1", "3", "10"};
        QTest::newRow("hidden") << QStringList{"最初"} << false << QStringList{"", "", ""};
    }
    void captionsByPosition() {
        QFETCH(QStringList, captions);
        Rig r;
        r.navi->setShowCaption(fetched<bool>("show"));
        r.navi->setCaptions(captions);
        const QStringList shown{r.b(Navi::nbFirst)->text(), r.b(Navi::nbNext)->text(), r.b(Navi::nbRefresh)->text()};
        QCOMPARE(shown, fetched<QStringList>("expected"));
        QCOMPARE(r.navi->captions(), captions);
        QCOMPARE(r.b(Navi::nbNext)->objectName(), QStringLiteral("Next"));
    }

    void glyphSwitches() {
        Rig r;
        const QImage defaultPost = r.b(Navi::nbPost)->glyph().normal;
        QCOMPARE(defaultPost.size(), QSize(14, 13));
        QCOMPARE(r.b(Navi::nbNext)->glyph().normal.size(), QSize(10, 13));
        QCOMPARE(loadNaviImage("db_post"), loadNaviImage("DB_POST"));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, loadNaviImage("DB_NOWHERE"));

        QImage custom(8, 4, QImage::Format_RGB32);
        custom.fill(Qt::red);
        custom.setPixel(0, 3, qRgb(0, 255, 0));  // the transparent colour
        r.navi->setShowGlyph(false);
        r.navi->setCustomGlyph(Navi::nbPost, custom);
        QVERIFY(r.b(Navi::nbPost)->glyph().isNull());
        r.navi->setShowGlyph(true);
        const NaviGlyph shown = r.b(Navi::nbPost)->glyph();
        QCOMPARE(shown.normal.size(), QSize(4, 4));
        QCOMPARE(shown.normal.pixelColor(1, 1), QColor(Qt::red));
        QCOMPARE(shown.normal.pixelColor(0, 3).alpha(), 0);
        r.navi->setCustomGlyph(Navi::nbPost, QImage());
        QCOMPARE(r.b(Navi::nbPost)->glyph().normal, defaultPost);
    }

    // Glyph and caption one centred block, 4 px apart, as the layout says.
    void captionLayoutPlacesTheGlyph_data() {
        QTest::addColumn<Navi::TCaptionLayout>("layout");
        QTest::addColumn<QPoint>("glyphFromCaption");  // sign of the glyph's offset
        QTest::newRow("left") << Navi::cbLeft << QPoint(-1, 0);
        QTest::newRow("right") << Navi::cbRight << QPoint(1, 0);
        QTest::newRow("top") << Navi::cbTop << QPoint(0, -1);
        QTest::newRow("bottom") << Navi::cbBottom << QPoint(0, 1);
    }
    void captionLayoutPlacesTheGlyph() {
        QFETCH(QPoint, glyphFromCaption);
        Rig r;
        r.navi->setCaptionLayout(fetched<Navi::TCaptionLayout>("layout"));
        TNaviButton* b = r.b(Navi::nbNext);
        const QRect g = b->glyphRect(), t = b->captionRect();
        const QPoint d = g.center() - t.center();
        QCOMPARE(QPoint((d.x() > 0) - (d.x() < 0), (d.y() > 0) - (d.y() < 0)), glyphFromCaption);
        const int gap = std::max({g.left() - t.right(), t.left() - g.right(), g.top() - t.bottom(), t.top() - g.bottom()});
        QCOMPARE(gap - 1, TNaviButton::kGlyphSpacing);
        const QPoint offCentre = g.united(t).center() - b->rect().center();
        QVERIFY2(qAbs(offCentre.x()) <= 1 && qAbs(offCentre.y()) <= 1, "block not centred");
        r.navi->setShowGlyph(false);
        QCOMPARE(b->captionRect().center().y(), b->rect().center().y());
    }

    // Disabled buttons draw the grey half; enabled ones the black one.
    void disabledButtonShowsItsGreyGlyph() {
        Rig r;
        auto darkest = [&](Navi::TNavigateBtn k) {
            const QImage shot = r.b(k)->grab().toImage();
            int v = 255;
            const QRect g = r.b(k)->glyphRect();
            for (int y = g.top(); y <= g.bottom(); ++y)
                for (int x = g.left(); x <= g.right(); ++x) v = std::min(v, qGray(shot.pixel(x, y)));
            return v;
        };
        QCOMPARE(darkest(Navi::nbNext), 0);
        QVERIFY(darkest(Navi::nbFirst) >= 0x80);
    }

    // ---- layout and flat painting ---------------------------------------------------

    void layoutRule_data() {
        QTest::addColumn<QList<Navi::TNavigateBtn>>("visible");
        QTest::addColumn<QSize>("asked");
        QTest::addColumn<bool>("flat");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("second");  // geometry of the second visible button
        const QList<Navi::TNavigateBtn> moves{Navi::nbFirst, Navi::nbPrior, Navi::nbNext, Navi::nbLast};
        const QList<Navi::TNavigateBtn> edits{Navi::nbInsert, Navi::nbDelete, Navi::nbPost};
        QTest::newRow("ten") << QList<Navi::TNavigateBtn>{} << QSize(451, 40) << false << QSize(450, 40)
                             << QRect(45, 0, 45, 40);
        QTest::newRow("four") << moves << QSize(451, 40) << false << QSize(448, 40) << QRect(112, 0, 112, 40);
        QTest::newRow("minimum") << moves << QSize(50, 10) << false << QSize(80, 18) << QRect(20, 0, 20, 18);
        QTest::newRow("three") << edits << QSize(100, 25) << false << QSize(99, 25) << QRect(33, 0, 33, 25);
        QTest::newRow("flat frame") << edits << QSize(99, 25) << true << QSize(99, 25) << QRect(35, 2, 29, 21);
    }
    void layoutRule() {
        QFETCH(QList<Navi::TNavigateBtn>, visible);
        Rig r;
        if (!visible.isEmpty()) r.navi->setVisibleButtons(visible);
        r.navi->setFlat(fetched<bool>("flat"));
        r.navi->resize(fetched<QSize>("asked"));
        QCOMPARE(r.navi->size(), fetched<QSize>("size"));
        const QList<Navi::TNavigateBtn> shown = r.navi->visibleButtons();
        QCOMPARE(r.b(shown[1])->geometry(), fetched<QRect>("second"));
        for (int k = 0; k < Navi::kButtonCount; ++k)
            QCOMPARE(r.b(Navi::TNavigateBtn(k))->isVisible(), shown.contains(Navi::TNavigateBtn(k)));
    }

    void flatBordersAndBackground_data() {
        QTest::addColumn<Navi::TNaviBorders>("borders");
        QTest::addColumn<QString>("edges");  // top-left, (1,1), bottom-right, (5,H-2): D dark, L light, B back
        QTest::newRow("frame") << Navi::nbFrame << "DLLD";
        QTest::newRow("top and bottom") << Navi::nbTopBottom << "DLLD";
        QTest::newRow("left and right") << Navi::nbLeftRight << "DLLB";
        QTest::newRow("none") << Navi::nbNone << "BBBB";
    }
    void flatBordersAndBackground() {
        QFETCH(QString, edges);
        Rig r;
        QImage back(3, 2, QImage::Format_RGB32);
        back.fill(Qt::yellow);
        back.setPixel(0, 0, qRgb(0, 128, 0));
        r.navi->setVisibleButtons({});
        r.navi->resize(60, 30);
        r.navi->setFlat(true);
        r.navi->setNaviBorders(fetched<Navi::TNaviBorders>("borders"));
        r.navi->setBackBitmap(back);
        const QImage shot = r.navi->grab().toImage();
        const QPoint at[] = {{0, 0}, {1, 1}, {59, 29}, {5, 28}};
        for (int i = 0; i < 4; ++i) {
            const QRgb want = edges[i] == 'D'   ? r.navi->palette().color(QPalette::Dark).rgb()
                              : edges[i] == 'L' ? r.navi->palette().color(QPalette::Light).rgb()
                                                : back.pixel(at[i].x() % 3, at[i].y() % 2);
            QCOMPARE(QColor(shot.pixel(at[i])), QColor(want));
        }
        QCOMPARE(QColor(shot.pixel(33, 14)), QColor(shot.pixel(36, 16)));  // tiles repeat
    }
};

QTEST_MAIN(CaptionDbNaviTest)
#include "caption_db_navi_test.moc"
