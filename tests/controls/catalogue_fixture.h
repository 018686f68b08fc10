#pragma once
// A fresh catalogue for the suites of the editing grids, and keys as a user
// gives them: each to whatever has the focus at that moment.
#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>

#include "data/catalogue_schema.h"
#include "data/data_module.h"
#include "data/fresh_install.h"
#include "data/sjis.h"

namespace tamboro::test {

// Every table open, in a temporary folder.
struct Catalogue {
    QTemporaryDir dir;
    std::filesystem::path path{dir.path().toStdString()};
    TDM1 dm{(createMissingFiles(path), path)};
    Catalogue() {
        dm.openAtCreation();
        dm.OpenForEditor();
    }
    void add(Table& t, std::string_view codeField, int code, std::string_view nameField, const char* name) {
        t.append();
        t.fieldU8(codeField).setInteger(code);
        t.fieldU8(nameField).setString(sj(name));
        t.post();
    }
};

// One field down the table's visible rows, as shown.
inline QStringList columnValues(Table& t, std::string_view field) {
    QStringList out;
    const int f = t.schema().indexOf(sj(field));
    for (int p = 0; p < t.recordCount(); ++p) out << QString::fromStdString(t.fieldAt(f, p).displayTextUtf8());
    return out;
}

// Characters as an input method delivers them, Japanese included.
inline void typeText(const QString& text) {
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(QApplication::focusWidget(), &press);
    }
}

inline void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

}  // namespace tamboro::test
