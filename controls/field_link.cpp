#include "controls/field_link.h"

#include "controls/warning_beep.h"

#include "controls/enter_rule.h"

#include <QKeyEvent>

#include <QFocusEvent>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "controls/message_boxes.h"
#include "data/error.h"
#include "data/messages.h"
#include "data/sjis.h"

namespace tamboro {
namespace {

std::vector<FieldLink*>& allLinks() {
    static std::vector<FieldLink*> links;
    return links;
}

// Clears a flag however the guarded call ends.
struct FlagGuard {
    bool& flag;
    explicit FlagGuard(bool& f) : flag(f) { flag = true; }
    ~FlagGuard() { flag = false; }
};

}  // namespace

FieldLink::FieldLink(QWidget* control, Hooks hooks) : control_(control), hooks_(std::move(hooks)) {
    allLinks().push_back(this);
}

FieldLink::~FieldLink() {
    if (source_) source_->detach(this);
    auto& links = allLinks();
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
}

void FieldLink::setDataSource(DataSource* source) {
    if (source == source_) return;
    if (source_) source_->detach(this);
    source_ = source;
    if (source_) source_->attach(this);
    rebind();
}

void FieldLink::setFieldName(std::string_view utf8Name) {
    nameUtf8_ = std::string(utf8Name);
    nameSjis_ = toSjis(utf8Name);
    rebind();
}

void FieldLink::rebind() {
    modified_ = false;
    try {
        resolve();
    } catch (...) {
        editingChanged();
        showField();
        throw;
    }
    editingChanged();
    showField();
}

void FieldLink::resolve() {
    index_ = -1;
    if (!source_ || !source_->table().active() || nameSjis_.empty()) return;
    const int i = source_->table().schema().indexOf(nameSjis_);
    if (i < 0) throw DataError(formatMessage(msg::kNoField, {nameUtf8_}));
    index_ = i;
}

std::optional<Field> FieldLink::field() const {
    if (index_ < 0 || !source_ || !source_->table().active()) return std::nullopt;
    return source_->table().field(index_);
}

bool FieldLink::editing() const {
    if (!source_) return false;
    const TableState s = source_->table().state();
    return s == TableState::Edit || s == TableState::Insert;
}

bool FieldLink::canModify() const {
    const auto f = field();
    return f && !readOnly_ && !f->def().readOnly;
}

void FieldLink::setReadOnly(bool on) {
    readOnly_ = on;
    editingChanged();
}

bool FieldLink::userChanged() {
    if (modified_) return true;
    try {
        if (!canModify()) {
            reset();
            return false;
        }
        Table& t = source_->table();
        if (t.state() == TableState::Browse) {
            // Entering edit state changes no value; the control's new text must
            // survive the notifications this sends.
            FlagGuard guard(startingEdit_);
            t.edit();
        }
    } catch (const std::exception& e) {
        reset();
        ShowDefaultErrorLater(control_, QString::fromUtf8(e.what()));
        return false;
    }
    modified_ = true;
    return true;
}

void FieldLink::reset() {
    modified_ = false;
    if (hooks_.dataChange) hooks_.dataChange();
}

void FieldLink::updateRecord() {
    if (!modified_) return;
    pendingReport_ = false;
    if (hooks_.updateData) hooks_.updateData();
    // Writing normally redisplays through the field notification; a key
    // assignment sends none.
    if (modified_) reset();
}

bool FieldLink::tryUpdateRecord() {
    try {
        updateRecord();
        return true;
    } catch (const std::exception& e) {
        reset();
        ShowDefaultErrorLater(control_, QString::fromUtf8(e.what()));
        return false;
    }
}

void FieldLink::controlExit(const QFocusEvent* e, const std::function<void()>& selectAll) {
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason) return;
    if (!modified_) return;
    try {
        updateRecord();
    } catch (const std::exception& ex) {
        // Taking the focus back while it is being handed over keeps the next
        // control from ever being entered.
        if (control_->isVisible() && control_->isEnabled()) control_->setFocus(Qt::OtherFocusReason);
        if (selectAll) selectAll();
        pendingReport_ = true;
        const QString message = QString::fromUtf8(ex.what());
        // A window that posts right after (its button took the focus) meets
        // the same refusal in updateRecords and reports it; one box is enough.
        QTimer::singleShot(0, control_, [this, message] {
            if (!pendingReport_) return;
            pendingReport_ = false;
            ShowDefaultError(message);
        });
    }
}

void FieldLink::updateRecords(const Table& table) {
    const auto links = allLinks();
    for (FieldLink* l : links)
        if (l->source_ && &l->source_->table() == &table) l->updateRecord();
}

void FieldLink::activeChanged() {
    modified_ = false;
    try {
        resolve();
    } catch (const std::exception& e) {
        ShowDefaultErrorLater(control_, QString::fromUtf8(e.what()));
    }
    editingChanged();
    showField();
}

void FieldLink::stateChanged() {
    editingChanged();
    // Entering edit state keeps every value; other changes (post, cancel, a
    // new row, a search key) may show different ones.
    if (source_ && source_->table().state() != TableState::Edit) showField();
}

void FieldLink::fieldChanged(int field) {
    if (field == index_) showField();
}

void FieldLink::showField() {
    if (startingEdit_) return;
    modified_ = false;
    if (!hooks_.dataChange) return;
    // Called from inside table operations: an exception must not cut them short.
    try {
        hooks_.dataChange();
    } catch (const std::exception& e) {
        ShowDefaultErrorLater(control_, QString::fromUtf8(e.what()));
    }
}

void FieldLink::editingChanged() {
    if (hooks_.editingChange) hooks_.editingChange();
}

bool fieldAcceptsChar(FieldType type, QChar ch) {
    const bool digitOrSign = (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) || ch == QLatin1Char('+') ||
                             ch == QLatin1Char('-');
    switch (type) {
    case FieldType::Int16:
    case FieldType::Int32:
    case FieldType::Int64: return digitOrSign;
    case FieldType::Currency:
    case FieldType::Float:
        return digitOrSign || ch == QLatin1Char('E') || ch == QLatin1Char('e') || ch == QLatin1Char('.');
    default: return true;
    }
}

QString acceptedChars(FieldType type, const QString& text) {
    QString out;
    for (QChar ch : text)
        if (fieldAcceptsChar(type, ch)) out += ch;
    return out;
}

bool refuseUnfitChar(const FieldLink& link, QKeyEvent* e, bool canType) {
    const QChar ch = typedChar(e);
    if (!canType || ch.isNull() || ch.unicode() < 0x20) return false;
    const auto f = link.field();
    if (!f || fieldAcceptsChar(f->type(), ch)) return false;
    warningBeep();
    e->accept();
    return true;
}

}  // namespace tamboro
