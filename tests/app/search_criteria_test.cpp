// The main window's search criteria driven through their controls: which
// events build a slot, what the search then lists, and clearing.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "app/application.h"
#include "controls/table_model.h"
#include "app/dvd_grid_view.h"
#include "app/main_window.h"
#include "app_fixture.h"
#include "data/locale_jp.h"
#include "editor/br_date_form.h"
#include "editor/calendar.h"

using namespace tamboro;
using namespace tamboro::test;
using S = SearchSlots;

namespace {

const QStringList kAllTitles = {"スター・ウォーズ", "スタンド・バイ・ミー", "スター・トレック", "七人の侍", "Star Wars",
                                "羅生門",           "となりのトトロ",     "STARSHIP",         "Rock'n Roll"};

// The criterion control that holds the focus (a combo box for its edit).
QWidget* focusedControl() {
    QWidget* w = QApplication::focusWidget();
    if (w && qobject_cast<QComboBox*>(w->parentWidget())) return w->parentWidget();
    return w;
}

}  // namespace

class SearchCriteriaTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CatalogueFolder> folder_;
    std::unique_ptr<Program> program_;
    TFMain* main_ = nullptr;
    TDM1* dm_ = nullptr;
    std::unique_ptr<ErrorCollector> errors_;  // what the default error box would show

    template <class T = QWidget>
    T* w(const char* name) {
        auto* found = main_->findChild<T*>(QString::fromLatin1(name));
        if (!found) qFatal("no control %s", name);
        return found;
    }
    QComboBox* combo(const char* name) { return w<QComboBox>(name); }
    QLineEdit* edit(const char* name) { return w<QLineEdit>(name); }
    QString slot(int n) const { return u8(main_->searchSlots().slot(n)); }
    QString filterText() const { return u8(dm_->CDvd.filterText()); }

    QStringList listed() const {
        QStringList out;
        TableModel* m = main_->dvdGridModel();
        for (int r = 0; r < m->rowCount(); ++r) out << m->index(r, 1).data().toString();
        return out;
    }
    static QStringList sorted(QStringList l) {
        l.sort();
        return l;
    }

    void focusOn(QWidget* control) {
        control->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(focusedControl(), control);
    }
    // Types text, character by character, into the focused widget.
    static void typeText(const QString& text) {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    void typeInto(QWidget* control, const QString& text) {
        focusOn(control);
        typeText(text);
    }
    void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, mods);
    }
    // A click that takes the focus, as the mouse gives it.
    void clickOn(QWidget* control) {
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(8, control->height() / 2));
    }
    // Clicks entry row of the box's open list.
    void clickEntry(QComboBox* box, int row) {
        box->showPopup();
        QAbstractItemView* list = box->view();
        QTRY_VERIFY(list->isVisible());
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
        QTRY_VERIFY(!list->isVisible());
    }
    // Moves the closed box's selection with the Down key, from no entry.
    void arrowTo(QComboBox* box, int row) {
        focusOn(box);
        for (int i = 0; i <= row; ++i) press(Qt::Key_Down);
        QCOMPARE(box->currentIndex(), row);
    }
    void search() { QTest::mouseClick(w<QPushButton>("BSearch"), Qt::LeftButton); }

private slots:
    void init() {
        errors_ = std::make_unique<ErrorCollector>();
        folder_ = std::make_unique<CatalogueFolder>(searchTitleSpecs(), addSearchTestData);
        program_ = std::make_unique<Program>(StartupPaths{folder_->path(), folder_->iniFile()});
        main_ = &program_->FMain();
        dm_ = &program_->DM1();
        main_->show();
        QVERIFY(QTest::qWaitForWindowActive(main_));
        QCOMPARE(dm_->CDvd.recordCount(), 9);
    }
    void cleanup() {
        main_->close();
        program_.reset();
        folder_.reset();
        const QStringList unexpected = errors_->messages;
        errors_.reset();
        QCOMPARE(unexpected, QStringList());
    }

    void everyCriterionBuildsItsSlotFromItsControl() {
        clickEntry(combo("CmbSGenre1"), 0);
        QCOMPARE(slot(S::Genre1), " AND ジャンル１ = 3");
        QCOMPARE(combo("CmbSGenre2")->count(), 2);
        QCOMPARE(main_->genre2Codes(), (std::vector<int32_t>{1, 2}));
        QCOMPARE(combo("CmbSGenre2")->currentText(), QString());

        arrowTo(combo("CmbSGenre2"), 1);
        QCOMPARE(slot(S::Genre2), " AND ジャンル２ = 2");
        arrowTo(combo("CmbSHyouka"), 0);
        QCOMPARE(slot(S::Rating), " AND 評価 = 5");

        // Arrow keys in the open list pick at once.
        QComboBox* dvd = combo("CmbSDvdHyouka");
        focusOn(dvd);
        dvd->showPopup();
        QTRY_VERIFY(dvd->view()->isVisible());
        QTest::keyClick(dvd->view(), Qt::Key_Down);
        QCOMPARE(dvd->currentText(), "5");
        QTest::keyClick(dvd->view(), Qt::Key_Down);
        QCOMPARE(dvd->currentText(), "4");
        QCOMPARE(slot(S::DvdRating), " AND 予備６ = '4'");
        QTest::keyClick(dvd->view(), Qt::Key_Escape);
        QTRY_VERIFY(!dvd->view()->isVisible());

        clickEntry(combo("CmbSCinemaHyouka"), 5);
        QCOMPARE(slot(S::MovieRating), " AND 予備７ = '0'");

        typeInto(edit("ESTitle"), "スター");
        QCOMPARE(slot(S::Title), QString());  // not built while focused
        press(Qt::Key_Tab);
        QCOMPARE(slot(S::Title), " AND タイトル = 'スター*'");

        // The other radio button counts once it is left itself.
        typeInto(edit("ESSeisakunen"), "1990");
        clickOn(w("RdSeisakuNen2"));
        QCOMPARE(focusedControl(), w("RdSeisakuNen2"));
        QCOMPARE(slot(S::Year), " AND 製作年 <= 1990");
        press(Qt::Key_Tab);
        QCOMPARE(slot(S::Year), " AND 製作年 >= 1990");

        // Enter leaves an edit as Tab does.
        typeInto(edit("ESKaisuu"), "2");
        press(Qt::Key_Return);
        QCOMPARE(slot(S::WatchCount), " AND 回数 <= 2");
        typeInto(edit("ESShuuroku"), "120");
        clickOn(w("RdShuuroku2"));
        press(Qt::Key_Tab);
        QCOMPARE(slot(S::RunningTime), " AND 収録時間 >= 120");

        // Impression boxes by mouse and by the space bar, joined in box order.
        clickOn(w("ChkSImpress7"));
        focusOn(w("ChkSImpress3"));
        press(Qt::Key_Space);
        QCOMPARE(slot(S::Impression1 + 2), " AND IMPRESS3 = TRUE");
        QCOMPARE(slot(S::Impression1 + 6), " AND IMPRESS7 = TRUE");
        QVERIFY(u8(main_->searchSlots().filterText()).endsWith("収録時間 >= 120 AND IMPRESS3 = TRUE AND IMPRESS7 = TRUE"));

        // Emptying an edit and leaving it empties its slot.
        focusOn(edit("ESTitle"));
        edit("ESTitle")->clear();
        press(Qt::Key_Tab);
        QCOMPARE(slot(S::Title), QString());
    }

    void assembledExampleNarrowsTheCollection() {
        search();
        QCOMPARE(filterText(), "CODE > 0");
        QCOMPARE(listed(), kAllTitles);

        clickEntry(combo("CmbSGenre1"), 0);  // SF, code 3
        arrowTo(combo("CmbSHyouka"), 0);
        clickOn(edit("ESTitle"));
        QCOMPARE(focusedControl(), edit("ESTitle"));
        typeText("スター");
        press(Qt::Key_Return);
        QCOMPARE(focusedControl(), w("ESSeisakunen"));
        clickOn(w("ChkSImpress2"));
        search();
        QCOMPARE(filterText(), "CODE > 0 AND ジャンル１ = 3 AND 評価 = 5 AND タイトル = 'スター*' AND IMPRESS2 = TRUE");
        QCOMPARE(listed(), QStringList{"スター・ウォーズ"});
        QCOMPARE(u8(dm_->CDvd.fieldU8(fld::Title).asString()), "スター・ウォーズ");
        QCOMPARE(main_->dvdGrid()->currentIndex().row(), 0);
        QVERIFY(main_->grab().save(QDir::temp().filePath("criteria.png")));  // for a person to look at
    }

    void acceleratorSearchTakesOnlyEditsAlreadyLeft() {
        typeInto(edit("ESTitle"), "スター");
        press(Qt::Key_T, Qt::AltModifier);
        QTRY_COMPARE(filterText(), "CODE > 0");
        QCOMPARE(focusedControl(), edit("ESTitle"));
        QCOMPARE(listed().size(), 9);

        press(Qt::Key_Return);
        press(Qt::Key_T, Qt::AltModifier);
        QTRY_COMPARE(filterText(), "CODE > 0 AND タイトル = 'スター*'");
        QCOMPARE(sorted(listed()), sorted({"スター・ウォーズ", "スター・トレック"}));

        // Emptied by hand but not left: the old fragment still counts.
        focusOn(edit("ESTitle"));
        edit("ESTitle")->clear();
        dm_->CDvd.setFilterText("");
        press(Qt::Key_T, Qt::AltModifier);
        QTRY_COMPARE(filterText(), "CODE > 0 AND タイトル = 'スター*'");
        QCOMPARE(listed().size(), 2);
        // Clicking the button leaves the edit first.
        search();
        QCOMPARE(filterText(), "CODE > 0");
        QCOMPARE(listed().size(), 9);
    }

    void typingIntoAComboBoxBuildsNothing() {
        QComboBox* rating = combo("CmbSHyouka");
        typeInto(rating, "3");
        press(Qt::Key_Tab);
        QCOMPARE(rating->currentText(), "3");
        QCOMPARE(slot(S::Rating), QString());

        // A typed major genre neither builds its slot nor fills the sub-genres.
        typeInto(combo("CmbSGenre1"), "SF");
        press(Qt::Key_Tab);
        QCOMPARE(slot(S::Genre1), QString());
        QCOMPARE(combo("CmbSGenre2")->count(), 0);
        search();
        QCOMPARE(filterText(), "CODE > 0");

        // The arrow keys then pick, from wherever the box stands.
        focusOn(rating);
        press(Qt::Key_Down);
        QVERIFY(!rating->currentText().isEmpty());
        QCOMPARE(slot(S::Rating), " AND 評価 = " + rating->currentText());
        // The program setting an entry is no pick either.
        const QString picked = slot(S::Rating);
        rating->setCurrentIndex(rating->currentIndex() == 0 ? 1 : 0);
        QCOMPARE(slot(S::Rating), picked);
    }

    void subGenreStaysInForceAfterAnotherMajorGenre() {
        clickEntry(combo("CmbSGenre1"), 0);  // SF
        clickEntry(combo("CmbSGenre2"), 1);  // 青春, code 2
        clickEntry(combo("CmbSGenre1"), 1);  // 洋画, code 100
        QCOMPARE(slot(S::Genre1), " AND ジャンル１ = 100");
        QCOMPARE(slot(S::Genre2), " AND ジャンル２ = 2");
        QComboBox* sub = combo("CmbSGenre2");
        QCOMPARE(sub->currentText(), QString());
        QCOMPARE(sub->itemText(0), "アクション");
        QCOMPARE(sub->itemText(1), "ドラマ");
        QCOMPARE(dm_->CGenre.fieldU8(fld::GenreCode1).asInteger(), 100);
        QCOMPARE(dm_->CGenre2.recNo(), 0);
        search();
        QCOMPARE(listed(), QStringList{"Star Wars"});

        // After clearing, the list still holds 洋画's sub-genres; picking one
        // alone matches that code under any major genre.
        w<QPushButton>("BKaijo")->click();
        QCOMPARE(sub->count(), 2);
        clickEntry(sub, 1);
        QCOMPARE(slot(S::Genre1), QString());
        search();
        QCOMPARE(filterText(), "CODE > 0 AND ジャンル２ = 2");
        QCOMPARE(sorted(listed()), sorted({"スタンド・バイ・ミー", "Star Wars", "Rock'n Roll"}));
    }

    void subGenreCodesGrowWithTheirList() {
        clickEntry(combo("CmbSGenre1"), 5);  // スポーツ, 120 sub-genres
        QComboBox* sub = combo("CmbSGenre2");
        QCOMPARE(sub->count(), 120);
        QCOMPARE(main_->genre2Codes().size(), size_t(120));
        focusOn(sub);
        sub->showPopup();
        QTRY_VERIFY(sub->view()->isVisible());
        QTest::keyClick(sub->view(), Qt::Key_End);
        QCOMPARE(slot(S::Genre2), " AND ジャンル２ = 120");
        for (int i = 0; i < 9; ++i) QTest::keyClick(sub->view(), Qt::Key_Up);
        QCOMPARE(sub->currentText(), "競技111");
        QCOMPARE(slot(S::Genre2), " AND ジャンル２ = 111");
        QTest::keyClick(sub->view(), Qt::Key_Escape);
        // A smaller genre afterwards leaves no stale entries.
        clickEntry(combo("CmbSGenre1"), 0);
        QCOMPARE(sub->count(), 2);
        QCOMPARE(main_->genre2Codes().size(), size_t(2));
    }

    void impressionBoxesFollowEveryChangeOfTheirState() {
        auto* box3 = w<QCheckBox>("ChkSImpress3");
        auto* box7 = w<QCheckBox>("ChkSImpress7");
        clickOn(box7);
        clickOn(box3);
        search();
        QCOMPARE(filterText(), "CODE > 0 AND IMPRESS3 = TRUE AND IMPRESS7 = TRUE");
        QCOMPARE(listed(), QStringList{"七人の侍"});
        box7->setChecked(false);  // the program's change counts too
        QCOMPARE(slot(S::Impression1 + 6), QString());
        search();
        QCOMPARE(sorted(listed()), sorted({"七人の侍", "羅生門"}));

        // A box without a caption still filters on its number.
        auto* box4 = w<QCheckBox>("ChkSImpress4");
        box4->setText(QString());
        clickOn(box4);
        QCOMPARE(slot(S::Impression1 + 3), " AND IMPRESS4 = TRUE");
    }

    void clearingEmptiesEveryCriterionAndListsEverything() {
        w<QPushButton>("BSTitle")->click();
        const std::string order = dm_->CDvd.indexFields();
        clickEntry(combo("CmbSGenre1"), 0);
        clickEntry(combo("CmbSGenre2"), 0);
        for (const char* name : {"CmbSHyouka", "CmbSDvdHyouka", "CmbSCinemaHyouka", "CmbSSound", "CmbSLange"})
            arrowTo(combo(name), 1);
        for (const char* name : {"ESTitle", "ESSeisakunen", "ESSeisakuKoku", "ESKantoku", "ESShutsuen",
                                 "ESKanshouDate", "ESKaisuu", "ESShuuroku"}) {
            typeInto(edit(name), std::string_view(name) == "ESKanshouDate" ? "2004/01/01" : "1");
            press(Qt::Key_Return);
        }
        for (const char* name : {"RdSeisakuNen2", "RdKanshou2", "RdKaisuu2", "RdShuuroku2"}) clickOn(w(name));
        clickOn(w("ChkSImpress2"));
        clickOn(w("ChkSImpress5"));
        search();
        QCOMPARE(listed().size(), 0);

        QSignalSpy ticked2(w<QCheckBox>("ChkSImpress2"), &QAbstractButton::toggled);
        QSignalSpy unticked1(w<QCheckBox>("ChkSImpress1"), &QAbstractButton::toggled);
        press(Qt::Key_K, Qt::AltModifier);
        QTRY_VERIFY(!dm_->CDvd.filtered());
        QCOMPARE(ticked2.count(), 1);
        QCOMPARE(unticked1.count(), 0);
        for (int n = 1; n <= S::kCount; ++n) QVERIFY2(slot(n).isEmpty(), qPrintable(QString::number(n)));
        for (QComboBox* c : main_->findChildren<QComboBox*>()) QCOMPARE(c->currentText(), QString());
        for (QLineEdit* e : main_->findChildren<QLineEdit*>()) QCOMPARE(e->text(), QString());
        for (const char* name : {"RdSeisakuNen1", "RdKanshou1", "RdKaisuu1", "RdShuuroku1"})
            QVERIFY(w<QRadioButton>(name)->isChecked());
        for (QCheckBox* c : main_->findChildren<QCheckBox*>()) QVERIFY(!c->isChecked());
        QCOMPARE(combo("CmbSGenre2")->count(), 2);  // the last major genre's entries stay
        QCOMPARE(combo("CmbSGenre1")->count(), 7);
        QCOMPARE(dm_->CDvd.indexFields(), order);
        QCOMPARE(listed().size(), 9);
        QCOMPARE(dm_->CDvd.recNo(), 0);
        // The clearing built nothing: leaving the focused control now adds nothing.
        press(Qt::Key_Tab);
        search();
        QCOMPARE(filterText(), "CODE > 0");
    }

    void leavingForAnotherWindowIsNotLeavingTheControl() {
        QLineEdit* title = edit("ESTitle");
        typeInto(title, "羅");
        // Another program takes the focus; the user comes back.
        QApplication::setActiveWindow(nullptr);
        QTRY_VERIFY(!main_->isActiveWindow());
        main_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main_));
        // A modal window and the popup menu come and go.
        onNextModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
        main_->About1Click();
        QVERIFY(QTest::qWaitForWindowActive(main_));
        QCOMPARE(focusedControl(), title);
        QMenu* menu = main_->popupMenu();
        menu->popup(main_->mapToGlobal(QPoint(300, 300)));
        QTRY_VERIFY(menu->isVisible());
        menu->close();
        QTRY_COMPARE(focusedControl(), title);
        QCOMPARE(title->text(), "羅");
        QCOMPARE(slot(S::Title), QString());

        press(Qt::Key_Tab);
        QCOMPARE(slot(S::Title), " AND タイトル = '羅*'");
    }

    void rejectedFilterShowsTheMessageAndListsEverything_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("date literal left open") << "ESKanshouDate" << "2004/01/31'" << "文字列定数が不完全です.";
        QTest::newRow("not a date") << "ESKanshouDate" << "abc" << "'abc' は日付ではありません.";
        QTest::newRow("quote before a keyword") << "ESTitle" << "a' AND" << "式が必要な場所に *。.";
    }
    void rejectedFilterShowsTheMessageAndListsEverything() {
        QFETCH(QString, control);
        QFETCH(QString, text);
        QFETCH(QString, message);
        arrowTo(combo("CmbSHyouka"), 0);
        search();
        QCOMPARE(listed().size(), 3);

        typeInto(edit(qPrintable(control)), text);
        press(Qt::Key_Return);
        search();
        QCOMPARE(std::exchange(errors_->messages, {}), QStringList{message});
        QCOMPARE(dm_->CDvd.recordCount(), 9);
        QCOMPARE(listed(), kAllTitles);
    }

    // Each criterion through its control: the fragment it leaves (checked
    // where the other criteria tests do not) and what the search lists.
    void searchesNarrowTheCollection_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("input");  // text to type, or for a combo the entry's row
        QTest::addColumn<QString>("radio");   // the other radio button, or empty
        QTest::addColumn<QString>("fragment");  // the filter after "CODE > 0", or empty
        QTest::addColumn<QStringList>("titles");
        // Blank numbers and dates count as 0 and as earlier than any day.
        const QStringList blankYear = {"Star Wars", "STARSHIP", "Rock'n Roll"};
        const QString cast = " AND (出演者１ = '三船*' OR  出演者２ = '三船*' OR  出演者３ = '三船*' OR  "
                             "出演者４ = '三船*' OR  出演者５ = '三船*')";
        const QString sound = " AND (音声日本語１ = 3 OR  音声日本語２ = 3 OR  音声日本語３ = 3 OR  "
                              "音声英語１ = 3 OR  音声英語２ = 3 OR  音声英語３ = 3)";
        const QString lange = " AND (音声言語1 = 2 OR  音声言語2 = 2 OR  音声言語3 = 2 OR  "
                              "音声言語4 = 2 OR  音声言語5 = 2 OR  音声言語6 = 2)";
        QStringList notSince2004 = kAllTitles;
        notSince2004.removeOne("スター・ウォーズ");
        auto row = [](const char* name, const char* control, const char* input, const char* radio, const QString& fragment,
                      const QStringList& titles) {
            QTest::newRow(name) << control << input << radio << fragment << titles;
        };
        row("year up to", "ESSeisakunen", "1960", "", " AND 製作年 <= 1960", QStringList{"七人の侍", "羅生門"} + blankYear);
        row("year from", "ESSeisakunen", "1980", "RdSeisakuNen2", "", {"スタンド・バイ・ミー", "となりのトトロ"});
        row("country prefix", "ESSeisakuKoku", "アメ", "", "", {"スター・ウォーズ", "スタンド・バイ・ミー", "スター・トレック"});
        row("country untrimmed", "ESSeisakuKoku", "アメリカ ", "", " AND 製作国 = 'アメリカ *'", {});
        row("country ignoring case", "ESSeisakuKoku", "us", "", "", {"Star Wars"});
        row("title ignoring case", "ESTitle", "star", "", "", {"Star Wars", "STARSHIP"});
        row("title unescaped", "ESTitle", "Rock'n", "", " AND タイトル = 'Rock'n*'", {"Rock'n Roll"});
        row("director", "ESKantoku", "黒澤", "", " AND 監督 = '黒澤*'", {"七人の侍", "羅生門"});
        row("any cast field", "ESShutsuen", "三船", "", cast, {"七人の侍", "羅生門"});
        row("second cast field", "ESShutsuen", "マーク", "", "", {"スター・ウォーズ"});
        row("sound, Japanese track", "CmbSSound", "2", "", sound, {"七人の侍"});
        row("sound, English track", "CmbSSound", "1", "", "", {"スター・ウォーズ"});
        row("language", "CmbSLange", "1", "", lange, {"スター・ウォーズ"});
        row("watched from", "ESKanshouDate", "2004/01/01", "RdKanshou2", " AND 鑑賞日 >= '2004/01/01'", {"スター・ウォーズ"});
        row("watched up to, never watched included", "ESKanshouDate", "2003/12/31", "", "", notSince2004);
        row("count from", "ESKaisuu", "1", "RdKaisuu2", " AND 回数 >= 1", {"スター・ウォーズ", "スタンド・バイ・ミー"});
        row("running time up to", "ESShuuroku", "100", "", " AND 収録時間 <= 100",
            {"スタンド・バイ・ミー", "スター・トレック", "Star Wars", "羅生門", "となりのトトロ", "STARSHIP", "Rock'n Roll"});
        row("DVD rating", "CmbSDvdHyouka", "0", "", " AND 予備６ = '5'", {"スター・ウォーズ"});
        row("movie rating", "CmbSCinemaHyouka", "2", "", "", {"スター・ウォーズ"});
        row("overall rating", "CmbSHyouka", "2", "", " AND 評価 = 3", {"Star Wars", "となりのトトロ"});
    }
    void searchesNarrowTheCollection() {
        QFETCH(QString, control);
        QFETCH(QString, input);
        QFETCH(QString, radio);
        QFETCH(QString, fragment);
        QFETCH(QStringList, titles);
        if (auto* box = main_->findChild<QComboBox*>(control)) {
            arrowTo(box, input.toInt());
        } else {
            typeInto(edit(qPrintable(control)), input);
            if (!radio.isEmpty()) clickOn(w(qPrintable(radio)));
            press(Qt::Key_Tab);
        }
        search();
        if (!fragment.isEmpty()) QCOMPARE(filterText(), "CODE > 0" + fragment);
        QCOMPARE(sorted(listed()), sorted(titles));
        QCOMPARE(dm_->CDvd.recordCount(), titles.size());
    }

    void calendarButtonStartsFromTheEditAndWritesTheDateBack() {
        QLineEdit* date = edit("ESKanshouDate");
        auto* button = w<QToolButton>("SPopUpCalcBtn");
        TBrDateForm& picker = program_->BrDateForm();
        QSignalSpy shown(&picker, &QDialog::finished);
        typeInto(date, "abc");
        button->click();
        QCOMPARE(std::exchange(errors_->messages, {}), QStringList{"'abc' は日付または時刻ではありません."});
        QCOMPARE(shown.count(), 0);
        QCOMPARE(focusedControl(), date);

        // From the edit's date; a picked day goes back into it.
        date->setText("2004/01/10");
        onNextModal([](QWidget* modal) {
            auto* form = static_cast<TBrDateForm*>(modal);
            QCOMPARE(form->GetDate(), double(dayNumber(2004, 1, 10)));
            TCalendar* cal = form->calendar();
            for (int row = 1; row < TCalendar::kRowCount; ++row)
                for (int col = 0; col < TCalendar::kColCount; ++col)
                    if (cal->DayText(col, row) == "20")
                        QTest::mouseClick(cal, Qt::LeftButton, {}, cal->cellRect(col, row).center());
            QVERIFY(form->grab().save(QDir::temp().filePath("date_picker.png")));
            form->findChild<QPushButton*>("OkBtn")->click();
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(date->text(), "2004/01/20");
        QTRY_COMPARE(focusedControl(), date);
        QCOMPARE(slot(S::Watched), QString());  // built only when the edit is left
        press(Qt::Key_Tab);
        QCOMPARE(slot(S::Watched), " AND 鑑賞日 <= '2004/01/20'");

        // An unchanged date keeps its time; Cancel changes nothing.
        date->setText("2004/01/10 9:30:00");
        clickOnNextModal("OkBtn");
        button->click();
        QCOMPARE(date->text(), "2004/01/10 9:30:00");
        date->setText("2004/01/10");
        clickOnNextModal("CancelBtn");
        button->click();
        QCOMPARE(date->text(), "2004/01/10");

        // An empty edit starts from today; the focus moves to the date, so
        // the edit that held it is left.
        date->clear();
        typeInto(edit("ESTitle"), "七");
        clickOnNextModal("OkBtn");
        button->click();
        const QDate today = QDate::currentDate();
        QCOMPARE(date->text(), QString::fromStdString(formatShortDate(dayNumber(today.year(), today.month(), today.day()))));
        QTRY_COMPARE(focusedControl(), date);
        QCOMPARE(slot(S::Title), " AND タイトル = '七*'");
    }
};

QTEST_MAIN(SearchCriteriaTest)
#include "search_criteria_test.moc"
