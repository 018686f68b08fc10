#include "controls/db_memo.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include "controls/sjis_qt.h"

namespace tamboro {

TDBMemo::TDBMemo(QWidget* parent)
    : QPlainTextEdit(parent),
      link_(this, {[this] { showField(); }, [this] { writeField(); },
                   [this] { QPlainTextEdit::setReadOnly(!link_.canModify()); }}) {
    setTabChangesFocus(true);
    QPlainTextEdit::setReadOnly(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!showing_) link_.userChanged();
    });
}

void TDBMemo::showField() {
    QString text;
    if (const auto f = link_.field()) text = fieldText(*f);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (text == toPlainText()) return;
    showing_ = true;
    setPlainText(text);
    showing_ = false;
}

void TDBMemo::writeField() {
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    if (auto f = link_.field()) f->setText(toSjisQ(text));
}

void TDBMemo::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && !(e->modifiers() & ~Qt::KeypadModifier)) {
        link_.reset();
        selectAll();
        e->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

void TDBMemo::focusOutEvent(QFocusEvent* e) {
    QPlainTextEdit::focusOutEvent(e);
    link_.controlExit(e, [this] { selectAll(); });
}

}  // namespace tamboro
