#pragma once
// Shared by the main window's test suites: a catalogue in a fresh temporary
// folder, and helpers for modal windows and error boxes.
#include <QApplication>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/error_box.h"
#include "data/catalogue_schema.h"
#include "data/data_module.h"
#include "data/fresh_install.h"
#include "data/sjis.h"

namespace tamboro::test {

struct TitleSpec {
    std::string title;   // UTF-8
    int genre1 = 0;
    int genre2 = 0;
};

// A dozen titles in Japanese, entered in this order (CODE 1 to 12).
inline std::vector<TitleSpec> dozenTitles() {
    return {{"七人の侍", 200, 1},           {"スター・ウォーズ", 100, 2}, {"となりのトトロ", 300, 1},
            {"ローマの休日", 100, 1},       {"東京物語", 200, 2},         {"千と千尋の神隠し", 300, 1},
            {"カサブランカ", 100, 1},       {"羅生門", 200, 1},           {"ゴッドファーザー", 100, 3},
            {"もののけ姫", 300, 1},         {"雨に唄えば", 400, 1},       {"アマデウス", 400, 2}};
}

// A catalogue folder with every data file, the given titles, three sound
// formats and two audio languages; the settings file path is beside them.
class CatalogueFolder {
public:
    explicit CatalogueFolder(const std::vector<TitleSpec>& titles = dozenTitles()) {
        createMissingFiles(path());
        TDM1 dm(path());
        dm.openAtCreation();
        int32_t lastCode = 0;
        dm.OpenForEditor(lastCode);
        for (const TitleSpec& t : titles) {
            dm.AddNewTitle(lastCode);
            dm.CDvd.fieldU8(fld::Title).setString(sj(t.title));
            dm.CDvd.fieldU8(fld::Genre1).setInteger(t.genre1);
            dm.CDvd.fieldU8(fld::Genre2).setInteger(t.genre2);
            dm.CDvd.post();
        }
        addRow(dm.CSound, fld::SoundCd, fld::SoundName, {{1, "ドルビーデジタル5.1ch"}, {2, "DTS"}, {3, "モノラル"}});
        addRow(dm.CLange, fld::LangeCd, fld::LangeName, {{1, "日本語"}, {2, "英語"}});
        dm.closeCatalogue();
    }

    std::filesystem::path path() const { return std::filesystem::path(dir_.path().toStdString()); }
    std::filesystem::path file(const char* name) const { return path() / name; }
    std::filesystem::path iniFile() const { return path() / "tamboro.INI"; }

    static void addRow(Table& t, std::string_view codeField, std::string_view nameField,
                       std::initializer_list<std::pair<int, const char*>> rows) {
        for (const auto& [code, name] : rows) {
            t.append();
            t.fieldU8(codeField).setInteger(code);
            t.fieldU8(nameField).setString(sj(name));
            t.post();
        }
    }

private:
    QTemporaryDir dir_;
};

// Collects what would go to the default error box while alive.
class ErrorCollector {
public:
    ErrorCollector() {
        setErrorBoxHook([this](const QString& text) { messages.push_back(text); });
    }
    ~ErrorCollector() { setErrorBoxHook({}); }
    QStringList messages;
};

// Runs action on the next modal window to open, once it is showing.
inline void onNextModal(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}

// Clicks the named button of the next modal window.
inline void clickOnNextModal(const char* buttonName, QWidget** seen = nullptr) {
    onNextModal([buttonName, seen](QWidget* modal) {
        if (seen) *seen = modal;
        if (auto* b = modal->findChild<QPushButton*>(QString::fromLatin1(buttonName))) b->click();
    });
}

inline QString u8(const std::string& sjis) { return QString::fromStdString(toUtf8(sjis)); }

}  // namespace tamboro::test
