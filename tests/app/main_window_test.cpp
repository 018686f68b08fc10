// The main window: its controls, commands, sort orders and the grid that
// shares CDvd's cursor.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <array>

#include "app/application.h"
#include "controls/table_model.h"
#include "app/dvd_grid_view.h"
#include "app/main_window.h"
#include "app_fixture.h"
#include "controls/ime_mode.h"
#include "controls/r_edit.h"
#include "controls/ret_check_box.h"
#include "controls/ret_combo_box.h"
#include "controls/ret_edit.h"
#include "about/about_form.h"
#include "data/error.h"
#include "editor/data_in_form.h"

using namespace tamboro;
using namespace tamboro::test;

namespace {

QStringList titlesInGridOrder(TFMain& main) {
    QStringList out;
    TableModel* m = main.dvdGridModel();
    for (int r = 0; r < m->rowCount(); ++r) out << m->index(r, 1).data().toString();
    return out;
}

QString currentTitle(TDM1& dm) { return u8(dm.CDvd.fieldU8(fld::Title).asString()); }

// Opens the editor through trigger and returns the CODE and title it showed.
QStringList editorShows(const std::function<void()>& trigger) {
    QStringList shown;
    onNextModal([&shown](QWidget* editor) {
        shown << editor->findChild<QLineEdit*>("ECode")->text() << editor->findChild<QLineEdit*>("ETitle")->text();
        editor->findChild<QPushButton*>("BEnd")->click();
    });
    trigger();
    return shown;
}

// Runs trigger and counts the modal windows it opened, each closed at once.
int modalsOpenedBy(const std::function<void()>& trigger) {
    int opened = 0;
    QTimer closer;
    closer.setInterval(5);
    QObject::connect(&closer, &QTimer::timeout, [&opened] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        ++opened;
        modal->findChild<QPushButton*>("BEnd")->click();
    });
    closer.start();
    trigger();
    QTest::qWait(20);
    return opened;
}

void typeText(QWidget* w, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &press);
    }
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CatalogueFolder> folder_;
    std::unique_ptr<Program> program_;
    TFMain* main_ = nullptr;
    TDM1* dm_ = nullptr;

private slots:
    void init() {
        folder_ = std::make_unique<CatalogueFolder>();
        program_ = std::make_unique<Program>(StartupPaths{folder_->path(), folder_->iniFile()});
        main_ = &program_->FMain();
        dm_ = &program_->DM1();
        main_->show();
        QVERIFY(QTest::qWaitForWindowActive(main_));
    }
    void cleanup() {
        main_->close();
        program_.reset();
        folder_.reset();
    }

    void criterionControlsExistWithTheirKindsAndInputModes() {
        // name, class, input method on entry (the numeric edits are TREdit).
        const std::tuple<const char*, const char*, ImeMode> expected[] = {
            {"CmbSGenre1", "TRetComboBox", ImeMode::Close}, {"CmbSGenre2", "TRetComboBox", ImeMode::Close},
            {"CmbSHyouka", "TRetComboBox", ImeMode::Close}, {"CmbSDvdHyouka", "TRetComboBox", ImeMode::Close},
            {"CmbSCinemaHyouka", "TRetComboBox", ImeMode::Close}, {"ESTitle", "TRetEdit", ImeMode::Open},
            {"ESSeisakunen", "TREdit", ImeMode::Close}, {"ESSeisakuKoku", "TRetEdit", ImeMode::Open},
            {"ESKantoku", "TRetEdit", ImeMode::Open}, {"ESShutsuen", "TRetEdit", ImeMode::Open},
            {"CmbSSound", "TRetComboBox", ImeMode::Close}, {"CmbSLange", "TRetComboBox", ImeMode::Close},
            {"ESKanshouDate", "TRetEdit", ImeMode::Close}, {"ESKaisuu", "TREdit", ImeMode::Close},
            {"ESShuuroku", "TREdit", ImeMode::Close}};
        for (const auto& [name, kind, ime] : expected) {
            auto* w = main_->findChild<QWidget*>(name);
            QVERIFY2(w, name);
            QCOMPARE(w->metaObject()->className(), "tamboro::" + QByteArray(kind));
            QCOMPARE(imeMode(w), ime);
        }
        // Each radio pair is a group of its own, its first button selected.
        const char* firsts[] = {"RdSeisakuNen1", "RdKanshou1", "RdKaisuu1", "RdShuuroku1"};
        main_->findChild<QRadioButton*>("RdKanshou2")->setChecked(true);
        for (const char* n : firsts)
            QCOMPARE(main_->findChild<QRadioButton*>(n)->isChecked(), std::string_view(n) != "RdKanshou1");
        for (int n = 1; n <= 10; ++n) {
            auto* box = main_->findChild<TRetCheckBox*>(QStringLiteral("ChkSImpress%1").arg(n));
            QVERIFY(box);
            QCOMPARE(box->property("Tag").toInt(), n);
        }
        QCOMPARE(main_->findChild<QToolButton*>("SPopUpCalcBtn")->focusPolicy(), Qt::NoFocus);
    }

    void windowAndControlsFitTheFixedClientArea() {
        QCOMPARE(main_->size(), QSize(792, 553));
        QCOMPARE(main_->minimumSize(), main_->maximumSize());
        QCOMPARE(main_->windowTitle(), QStringLiteral("Tamboro"));
        for (QWidget* w : main_->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(main_) || w->isWindow()) continue;
            const QRect r(w->mapTo(main_, QPoint(0, 0)), w->size());
            QVERIFY2(main_->rect().contains(r), qPrintable(w->objectName() + " " + w->metaObject()->className()));
        }
        QCOMPARE(main_->findChild<QWidget*>("DvdGrid")->width(), 457);
        QCOMPARE(main_->findChild<QWidget*>("pnlRight")->width(), 166);
        QCOMPARE(main_->findChild<QWidget*>("Panel4")->height(), 36);
        QCOMPARE(main_->findChild<QWidget*>("pnlTop")->height(), 65);
        // Pictures of the windows for a person to look at.
        dm_->CDvd.moveTo(2);
        const QPixmap shot = main_->grab();
        QCOMPARE(shot.size() / shot.devicePixelRatio(), QSize(792, 553));
        QVERIFY(shot.save(QDir::temp().filePath(QStringLiteral("main_window.png"))));
        QVERIFY(program_->FAbout().grab().save(QDir::temp().filePath(QStringLiteral("about_window.png"))));
    }

    void tabOrderRunsThroughThePanelsInTurn() {
        main_->findChild<QWidget*>("CmbSGenre1")->setFocus();
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("CmbSGenre1"));
        QStringList visited;
        for (int i = 0; i < 40; ++i) {
            QWidget* w = QApplication::focusWidget();
            while (w && w->objectName().isEmpty()) w = w->parentWidget();  // a combo's edit
            visited << (w ? w->objectName() : QStringLiteral("?"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        const QStringList expected = {
            "CmbSGenre1",   "CmbSGenre2",   "CmbSHyouka",  "CmbSDvdHyouka", "CmbSCinemaHyouka", "ESTitle",
            "ESSeisakunen", "RdSeisakuNen1", "ESSeisakuKoku", "ESKantoku",   "ESShutsuen",       "CmbSSound",
            "CmbSLange",    "ESKanshouDate", "RdKanshou1",  "ESKaisuu",      "RdKaisuu1",        "ESShuuroku",
            "RdShuuroku1",  "ChkSImpress1", "ChkSImpress2", "ChkSImpress3",  "ChkSImpress4",     "ChkSImpress5",
            "ChkSImpress6", "ChkSImpress7", "ChkSImpress8", "ChkSImpress9",  "ChkSImpress10",    "DvdGrid",
            "BSearch",      "BKaijo",       "BSTouroku",   "BSTitle",       "BSGenre",          "BAdd",
            "BEdit",        "BPrint",       "BMente",      "BSClose"};
        QCOMPARE(visited, expected);
    }

    void commandButtonsStandInOrderWithPicturesAndAccelerators() {
        int lastBottom = 0;
        for (const char* name : {"BSearch", "BKaijo", "BSTouroku", "BSTitle", "BSGenre", "BAdd", "BEdit", "BPrint",
                                 "BMente", "BSClose"}) {
            auto* b = main_->findChild<QPushButton*>(name);
            QVERIFY2(b, name);
            QCOMPARE(b->size(), QSize(153, 41));
            QVERIFY(!b->icon().pixmap(32, 32).isNull());
            QVERIFY(b->y() >= lastBottom);
            lastBottom = b->y() + b->height();
        }
        QSignalSpy added(main_->findChild<QPushButton*>("BAdd"), &QPushButton::clicked);
        clickOnNextModal("BEnd");
        QTest::keyClick(main_, Qt::Key_N, Qt::AltModifier);
        QTRY_COMPARE(added.count(), 1);
    }

    void popupMenuHasEveryItemOnItsPanels() {
        QMenu* menu = main_->popupMenu();
        QStringList items;
        for (QAction* a : menu->actions()) items << a->objectName();
        QCOMPARE(items, (QStringList{"N1", "E1", "N2", "S1", "NFieldAdd", "N4", "BackupB1", "BackUpF1", "N3", "About1", "Exit1"}));
        for (const char* p : {"Panel4", "Panel1", "pnlRight", "Panel3", "Panel2", "Panel5", "Panel15"})
            QCOMPARE(main_->findChild<QWidget*>(p)->contextMenuPolicy(), Qt::CustomContextMenu);
        QCOMPARE(main_->findChild<QWidget*>("pnlTop")->contextMenuPolicy(), Qt::DefaultContextMenu);

        // A right-click on a control without a menu of its own reaches its panel.
        QSignalSpy onButtons(main_->findChild<QWidget*>("pnlRight"), &QWidget::customContextMenuRequested);
        QWidget* button = main_->findChild<QWidget*>("BEdit");
        QContextMenuEvent onButton(QContextMenuEvent::Mouse, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(button, &onButton);
        QCOMPARE(onButtons.count(), 1);
        menu->hide();
        QSignalSpy onGrid(main_->findChild<QWidget*>("Panel1"), &QWidget::customContextMenuRequested);
        QWidget* cells = main_->dvdGrid()->viewport();
        QContextMenuEvent onCells(QContextMenuEvent::Mouse, QPoint(30, 30), cells->mapToGlobal(QPoint(30, 30)));
        QApplication::sendEvent(cells, &onCells);
        QCOMPARE(onGrid.count(), 1);
        menu->hide();

        // "フィールドデータ更新" changes nothing.
        dm_->CDvd.moveTo(4);
        menu->findChild<QAction*>("NFieldAdd")->trigger();
        QCOMPARE(dm_->CDvd.recNo(), 4);
        QCOMPARE(dm_->CDvd.state(), TableState::Browse);
        QVERIFY(main_->isVisible());
    }

    void sortButtonsReorderAndKeepTheCurrentTitleAndTheFilter() {
        main_->findChild<QPushButton*>("BSTitle")->click();
        QStringList byTitle = titlesInGridOrder(*main_);
        QCOMPARE(byTitle.size(), 12);
        QCOMPARE(byTitle.front(), QStringLiteral("アマデウス"));
        QVERIFY(byTitle.indexOf("カサブランカ") < byTitle.indexOf("ゴッドファーザー"));

        main_->findChild<QPushButton*>("BSGenre")->click();
        QCOMPARE(dm_->CDvd.indexFields(), sj("ジャンル１;ジャンル２"));
        QStringList byGenre = titlesInGridOrder(*main_);
        QCOMPARE(byGenre.back(), QStringLiteral("アマデウス"));  // 400/2
        QCOMPARE(byGenre.indexOf("ゴッドファーザー"), 3);        // 100/3 after 100/1, 100/1, 100/2

        // The current title stays current and highlighted in the new order.
        dm_->CDvd.moveTo(byGenre.indexOf("羅生門"));
        main_->findChild<QPushButton*>("BSTouroku")->click();
        QCOMPARE(currentTitle(*dm_), QStringLiteral("羅生門"));
        QCOMPARE(main_->dvdGrid()->currentIndex().row(), 7);
        QCOMPARE(titlesInGridOrder(*main_).front(), QStringLiteral("七人の侍"));

        // A sort under a search keeps the search.
        dm_->CDvd.setFilterText(sj("ジャンル１ = 300"));
        dm_->CDvd.setFiltered(true);
        main_->findChild<QPushButton*>("BSTitle")->click();
        QVERIFY(dm_->CDvd.filtered());
        QCOMPARE(titlesInGridOrder(*main_), (QStringList{"となりのトトロ", "もののけ姫", "千と千尋の神隠し"}));
    }

    void gridRowAndTableCursorMoveTogether() {
        DvdGridView* grid = main_->dvdGrid();
        // Table to grid.
        dm_->CDvd.moveTo(5);
        QCOMPARE(grid->currentIndex().row(), 5);
        QCOMPARE(grid->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(grid->selectionModel()->selectedRows().front().row(), 5);
        QCOMPARE(grid->model()->headerData(5, Qt::Vertical).toString(), QStringLiteral("▶"));
        QCOMPARE(grid->model()->headerData(4, Qt::Vertical).toString(), QString());
        // Grid to table, by keyboard and by mouse.
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(dm_->CDvd.recNo(), 6);
        QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(dm_->CDvd.recNo(), 11);
        QCOMPARE(grid->currentIndex().column(), 0);  // a move between titles keeps the column
        QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(dm_->CDvd.recNo(), 0);
        const QRect cell = grid->visualRect(grid->model()->index(3, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(dm_->CDvd.recNo(), 3);
        QCOMPARE(currentTitle(*dm_), QStringLiteral("ローマの休日"));
        // A filter that empties the list leaves no row highlighted.
        dm_->CDvd.setFilterText(sj("CODE > 100"));
        dm_->CDvd.setFiltered(true);
        QCOMPARE(grid->model()->rowCount(), 0);
        QVERIFY(grid->selectionModel()->selectedRows().isEmpty());
    }

    void enterDoubleClickAndEditButtonOpenTheEditorOnTheCurrentTitle() {
        DvdGridView* grid = main_->dvdGrid();
        dm_->CDvd.moveTo(2);
        QCOMPARE(editorShows([&] { main_->findChild<QPushButton*>("BEdit")->click(); }),
                 (QStringList{"3", "となりのトトロ"}));
        grid->setFocus();
        QCOMPARE(editorShows([&] { QTest::keyClick(grid, Qt::Key_Return); }), (QStringList{"3", "となりのトトロ"}));
        const QRect cell = grid->visualRect(grid->model()->index(6, 1));
        // QTest sends only the double-click itself; a real one starts with a click.
        QCOMPARE(editorShows([&] {
                     QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
                     QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
                 }),
                 (QStringList{"7", "カサブランカ"}));
        QCOMPARE(editorShows([&] {
                     QTest::mouseDClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(100, 5));
                 }),
                 (QStringList{"7", "カサブランカ"}));
        // Navigation keys reach the grid unchanged; typed letters and digits
        // do not jump to a title whose text starts with them.
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(dm_->CDvd.recNo(), 7);
        QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
        typeText(grid, QStringLiteral("ア7も a"));  // アマデウス, CODE 7, もののけ姫
        QCOMPARE(dm_->CDvd.recNo(), 0);
        grid->setCurrentIndex(grid->model()->index(0, 0));
        typeText(grid, QStringLiteral("9"));
        QCOMPARE(dm_->CDvd.recNo(), 0);
        QTest::keyClick(grid, Qt::Key_PageDown);
        QCOMPARE(dm_->CDvd.recNo(), 11);
    }

    void onlyRowsTitlesAndRowIndicatorOpenTheEditorOnADoubleClick() {
        for (int code = 13; code <= 60; ++code)  // enough titles for both scroll bars
            CatalogueFolder::addRow(dm_->CDvd, fld::Code, fld::Title, {{code, "題名"}});
        DvdGridView* grid = main_->dvdGrid();
        QScrollBar* vbar = grid->verticalScrollBar();
        QScrollBar* hbar = grid->horizontalScrollBar();
        QVERIFY(vbar->isVisible() && hbar->isVisible());
        const QRect firstCell = grid->visualRect(grid->model()->index(1, 1));
        auto middleOf = [](QWidget* w) { return w->rect().center(); };
        QWidget* titleCorner = grid->findChild<QAbstractButton*>();
        // The square between the two scroll bars belongs to the grid itself.
        const QPoint barsCorner(grid->width() - 4, grid->height() - 4);
        QCOMPARE(grid->childAt(barsCorner), nullptr);
        const std::tuple<const char*, QWidget*, QPoint, int> sites[] = {
            {"row", grid->viewport(), firstCell.center(), 1},
            {"title row", grid->horizontalHeader()->viewport(), QPoint(100, 5), 1},
            {"row indicator", grid->verticalHeader()->viewport(), QPoint(5, firstCell.center().y()), 1},
            {"title row corner", titleCorner, middleOf(titleCorner), 1},
            {"up arrow", vbar, QPoint(vbar->width() / 2, 3), 0},
            {"vertical track", vbar, middleOf(vbar), 0},
            {"down arrow", vbar, QPoint(vbar->width() / 2, vbar->height() - 3), 0},
            {"left arrow", hbar, QPoint(3, hbar->height() / 2), 0},
            {"horizontal track", hbar, middleOf(hbar), 0},
            {"right arrow", hbar, QPoint(hbar->width() - 3, hbar->height() / 2), 0},
            {"corner between the bars", grid, barsCorner, 0},
        };
        for (const auto& [site, widget, at, opens] : sites) {
            const int opened = modalsOpenedBy([widget, at] {
                QTest::mouseClick(widget, Qt::LeftButton, {}, at);
                QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
            });
            QVERIFY2(opened == opens, site);
        }
    }

    void tabEntersARadioPairOnItsSelectedButtonAfterClearing() {
        // the control before the pair, the pair, the control after it
        const std::array<const char*, 4> pairs[] = {
            {"ESSeisakunen", "RdSeisakuNen1", "RdSeisakuNen2", "ESSeisakuKoku"},
            {"ESKanshouDate", "RdKanshou1", "RdKanshou2", "ESKaisuu"},
            {"ESKaisuu", "RdKaisuu1", "RdKaisuu2", "ESShuuroku"},
            {"ESShuuroku", "RdShuuroku1", "RdShuuroku2", "ChkSImpress1"},
        };
        for (const auto& [before, first, second, after] : pairs) {
            auto* selected = main_->findChild<QRadioButton*>(first);
            auto* other = main_->findChild<QRadioButton*>(second);
            QTest::mouseClick(other, Qt::LeftButton, {}, QPoint(6, other->height() / 2));
            QVERIFY(other->isChecked() && other->hasFocus());
            main_->findChild<QPushButton*>("BKaijo")->click();
            QVERIFY(selected->isChecked());

            main_->findChild<QWidget*>(before)->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), selected);
            main_->findChild<QWidget*>(after)->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
            QCOMPARE(QApplication::focusWidget(), selected);
        }
    }

    void gridColumnsShowTheirTitlesAndWidestValuesWhole() {
        dm_->CDvd.moveTo(11);
        dm_->CDvd.edit();
        dm_->CDvd.fieldU8(fld::Code).setInteger(123456);
        dm_->CDvd.fieldU8(fld::BoxNo).setText("D00001");
        dm_->CDvd.fieldU8(fld::DvdNo).setText("D00002");
        dm_->CDvd.fieldU8(fld::PurchaseDate).setText("2004/12/25");
        dm_->CDvd.post();
        DvdGridView* grid = main_->dvdGrid();
        auto* measure = static_cast<QAbstractItemView*>(grid);  // the delegate's measure of the rows shown
        for (int c = 0; c < grid->model()->columnCount(); ++c) {
            const QString title = grid->model()->headerData(c, Qt::Horizontal).toString();
            QVERIFY2(grid->horizontalHeader()->sectionSizeHint(c) <= grid->columnWidth(c), qPrintable(title));
            QVERIFY2(measure->sizeHintForColumn(c) <= grid->columnWidth(c), qPrintable(title));
        }
        QCOMPARE(grid->columnWidth(1), 228);  // wide enough already: kept
        QCOMPARE(grid->columnWidth(2), 30);
        const QAbstractItemModel* m = grid->model();
        QCOMPARE(m->columnCount(), 28);
        QCOMPARE(m->headerData(5, Qt::Horizontal).toString(), QStringLiteral("時間"));
        QCOMPARE(m->headerData(12, Qt::Horizontal).toString(), QStringLiteral("エディション"));
        QCOMPARE(m->headerData(27, Qt::Horizontal).toString(), QStringLiteral("脚本"));
        QCOMPARE(m->index(0, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 255, 128));
        QVERIFY(m->index(0, 0).data(Qt::BackgroundRole).value<QColor>().isValid());
    }

    void newTitleIsNumberedShownAndPostedWhenTheEditorCloses() {
        QCOMPARE(editorShows([&] { main_->findChild<QPushButton*>("BAdd")->click(); }), (QStringList{"13", ""}));
        QCOMPARE(dm_->CDvd.state(), TableState::Browse);
        QCOMPARE(dm_->CDvd.recordCount(), 13);
        QCOMPARE(dm_->CDvd.fieldU8(fld::Code).asInteger(), 13);
        QCOMPARE(main_->dvdGrid()->currentIndex().row(), 12);
        QCOMPARE(program_->FDataIn().lastCode(), 13);
    }

    void comboSetFillsTheListsWithTheirCodesBeyondAHundredRows() {
        for (int code = 1; code <= 120; ++code) {
            dm_->CLange.append();
            dm_->CLange.fieldU8(fld::LangeCd).setInteger(1000 + code);
            dm_->CLange.fieldU8(fld::LangeName).setString(sj("言語" + std::to_string(code)));
            dm_->CLange.post();
        }
        main_->ComboSet();
        auto* lange = main_->findChild<QComboBox*>("CmbSLange");
        QCOMPARE(lange->count(), 122);
        QCOMPARE(main_->langeCodes().size(), size_t(122));
        QCOMPARE(lange->itemText(121), QStringLiteral("言語120"));
        QCOMPARE(main_->langeCodes()[121], 1120);
        QCOMPARE(lange->currentText(), QString());
        QCOMPARE(dm_->CLange.recNo(), 0);

        // Empty lists give empty boxes.
        while (dm_->CSound.recordCount() > 0) dm_->CSound.remove();
        main_->ComboSet();
        QCOMPARE(main_->findChild<QComboBox*>("CmbSSound")->count(), 0);
        QVERIFY(main_->soundCodes().empty());
    }

    void editorStaysOpenWhenItsPostFailsAndIgnoresEscape() {
        ErrorCollector errors;
        // The rules' hooks are sealed: fail the post where its rule assigns
        // the derived rating.
        struct FailingRating : TableObserver {
            int field = -1;
            void fieldChanged(int f) override {
                if (f == field) throw DataError("'x' は項目 '評価' に適した整数値ではありません");
            }
        } failing;
        failing.field = dm_->CDvd.fieldU8(fld::DvdRating).index();
        dm_->CDvd.addObserver(&failing);
        const std::unique_ptr<TableObserver, std::function<void(TableObserver*)>> unhook(
            &failing, [this](TableObserver* o) { dm_->CDvd.removeObserver(o); });
        TFDataIn& editor = program_->FDataIn();
        QWidget* seen = nullptr;
        onNextModal([&](QWidget* w) {
            seen = w;
            QTest::keyClick(w, Qt::Key_Escape);
            QVERIFY(w->isVisible());
            dm_->CDvd.edit();
            dm_->CDvd.fieldU8(fld::Title).setString(sj("変更"));
            w->findChild<QPushButton*>("BEnd")->click();
            QVERIFY(w->isVisible());  // the post failed: still open, still editing
            QCOMPARE(dm_->CDvd.state(), TableState::Edit);
            dm_->CDvd.removeObserver(&failing);
            w->findChild<QPushButton*>("BEnd")->click();
        });
        main_->BEditClick();
        QCOMPARE(seen, &editor);
        QCOMPARE(errors.messages.size(), 1);
        QCOMPARE(dm_->CDvd.state(), TableState::Browse);
        QCOMPARE(currentTitle(*dm_), QStringLiteral("変更"));
    }

    void masterListsRecaptionTheImpressionsAndRefillTheLists() {
        auto* sound = main_->findChild<QComboBox*>("CmbSSound");
        sound->setCurrentIndex(1);
        onNextModal([this](QWidget* mente) {
            dm_->CImpress.moveTo(1);
            dm_->CImpress.edit();
            dm_->CImpress.fieldU8(fld::ImpName).setString(sj("大笑い"));
            dm_->CImpress.post();
            CatalogueFolder::addRow(dm_->CSound, fld::SoundCd, fld::SoundName, {{9, "ステレオ"}});
            mente->findChild<QPushButton*>("BEnd")->click();
        });
        main_->findChild<QPushButton*>("BMente")->click();
        QCOMPARE(main_->impressBoxes()[2]->text(), QStringLiteral("大笑い"));
        QCOMPARE(program_->FDataIn().impressBoxes()[2]->text(), QStringLiteral("大笑い"));
        QCOMPARE(dm_->CImpress.recNo(), 0);
        QCOMPARE(sound->count(), 4);
        QCOMPARE(sound->currentText(), QString());
        QCOMPARE(main_->soundCodes(), (std::vector<int32_t>{1, 2, 3, 9}));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
