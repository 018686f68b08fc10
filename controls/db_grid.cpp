#include "controls/db_grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <algorithm>

#include "controls/grid_headers.h"
#include "controls/field_link.h"
#include "controls/message_boxes.h"
#include "controls/sjis_qt.h"
#include "controls/warning_beep.h"
#include "data/data_source.h"

namespace tamboro {
namespace {

Qt::KeyboardModifiers plain(const QKeyEvent* e) { return e->modifiers() & ~Qt::KeypadModifier; }

bool isTypedText(const QKeyEvent* e) {
    const QString text = e->text();
    if (text.isEmpty() || text.front().unicode() < 0x20 || text.front().unicode() == 0x7f) return false;
    return !(plain(e) & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

bool isEditing(const Table& t) { return t.state() == TableState::Edit || t.state() == TableState::Insert; }

}  // namespace

TDBGrid::TDBGrid(DataSource& source, std::vector<TableColumn> columns, QWidget* parent)
    : QTableView(parent), source_(source), model_(new TableModel(source, std::move(columns), this)) {
    // The grid opens its own editor, so that a refused text keeps it open.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setModel(model_);
    setUpHeaders();
    setUpEditor();

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { rowChosen(current.row()); });
    connect(model_, &TableModel::cursorRowChanged, this, [this](int row) { followCursor(row); });
    // Rows come and go under an open editor (a new row, a posted row moving).
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(model_, signal, this, [this] { placeEditor(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { placeEditor(); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusMoved(now); });
    followCursor(model_->cursorRow());
}

TDBGrid::~TDBGrid() {
    // Destroying the focused editor moves the focus; the grid is no longer
    // there to be left.
    disconnect(qApp, nullptr, this, nullptr);
}

void TDBGrid::setUpHeaders() {
    setUpDataGridHeaders(*this);
    for (int c = 0; c < model_->columnCount(); ++c) setColumnWidth(c, model_->columnWidth(c, fontMetrics()));
}

void TDBGrid::setUpEditor() {
    editor_ = new QLineEdit(viewport());
    editor_->setObjectName(QStringLiteral("InplaceEditor"));
    editor_->setFrame(false);
    editor_->hide();
    editor_->installEventFilter(this);
    connect(editor_, &QLineEdit::textEdited, this, [this] {
        refused_ = false;
        link_->userChanged();
    });

    FieldLink::Hooks hooks;
    // Any redisplay of the field (a write, a post, another row) ends the edit
    // of the cell; the row's values then show in the grid itself.
    hooks.dataChange = [this] { hideEditor(); };
    hooks.updateData = [this] {
        if (auto f = link_->field()) f->setText(toSjisQ(editor_->text()));
    };
    link_ = std::make_unique<FieldLink>(editor_, std::move(hooks));
    link_->setDataSource(&source_);
}

bool TDBGrid::editorShown() const { return editor_ && !editor_->isHidden(); }

void TDBGrid::keyboardSearch(const QString&) {}  // typed letters edit, they do not search

// ---- keys -------------------------------------------------------------------

void TDBGrid::keyPressEvent(QKeyEvent* e) {
    // While the cell is edited, keys reach the grid only when the editor
    // ignored them (Shift, F5): they pass on like any ignored key.
    if (editorShown()) {
        e->ignore();
        return;
    }
    const Qt::KeyboardModifiers mods = plain(e);
    switch (e->key()) {
    case Qt::Key_F2:
        if (mods == Qt::NoModifier) return showEditor();
        break;
    case Qt::Key_Insert:
        if (mods == Qt::NoModifier) {
            guarded([this] { table().insert(); });
            return;
        }
        break;
    case Qt::Key_Delete:
        if (mods == Qt::ControlModifier) return deleteRow();
        break;
    case Qt::Key_Escape: return abandonRow();
    case Qt::Key_Down:
        if (mods == Qt::NoModifier && model_->cursorRow() >= model_->rowCount() - 1) return moveDown();
        break;
    default: break;
    }
    if (isTypedText(e)) return typeInto(e->text());
    QTableView::keyPressEvent(e);
}

// Ctrl+Home and Ctrl+End go to the first and last row and keep the column.
QModelIndex TDBGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if ((modifiers & Qt::ControlModifier) && (action == MoveHome || action == MoveEnd) && model_->rowCount() > 0) {
        const int row = action == MoveHome ? 0 : model_->rowCount() - 1;
        return model_->index(row, std::clamp(column_, 0, model_->columnCount() - 1));
    }
    return QTableView::moveCursor(action, modifiers);
}

bool TDBGrid::eventFilter(QObject* watched, QEvent* e) {
    if (watched == editor_ && e->type() == QEvent::KeyPress) return editorKey(static_cast<QKeyEvent*>(e));
    if (watched == editor_ && e->type() == QEvent::ShortcutOverride) {
        // Keys the grid acts on must reach it, not a window shortcut.
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Escape || k->key() == Qt::Key_Insert) {
            e->accept();
            return true;
        }
    }
    return QTableView::eventFilter(watched, e);
}

// Keys in the cell editor: the row keys write the cell first, then act.
bool TDBGrid::editorKey(QKeyEvent* e) {
    const Qt::KeyboardModifiers mods = plain(e);
    switch (e->key()) {
    case Qt::Key_Escape: abandonRow(); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: writeCell(); return true;
    case Qt::Key_F2: return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Insert:
        if (mods != Qt::NoModifier) return false;
        if (writeCell()) keyPressEvent(e);
        return true;
    case Qt::Key_Delete:
        if (mods != Qt::ControlModifier) return false;
        deleteRow();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (writeCell()) {
            setFocus(Qt::TabFocusReason);
            focusNextPrevChild(e->key() == Qt::Key_Tab && !(mods & Qt::ShiftModifier));
        }
        return true;
    default: break;
    }
    if (isTypedText(e) && refusesChar(e->text())) {
        warningBeep();
        return true;
    }
    return false;
}

bool TDBGrid::refusesChar(const QString& text) const {
    const int f = model_->fieldIndex(column_);
    if (f < 0) return false;
    const FieldType type = table().schema()[static_cast<size_t>(f)].type;
    for (QChar ch : text)
        if (!fieldAcceptsChar(type, ch)) return true;
    return false;
}

// ---- the cell editor --------------------------------------------------------

void TDBGrid::typeInto(const QString& text) {
    if (!table().active() || model_->fieldIndex(column_) < 0) return;
    if (refusesChar(text)) return warningBeep();
    openEditor(text, true);
}

void TDBGrid::showEditor() {
    if (!table().active() || model_->rowCount() == 0 || model_->fieldIndex(column_) < 0) return;
    if (editorShown()) return;
    openEditor({}, false);
}

void TDBGrid::openEditor(const QString& text, bool changed) {
    const bool bound = guarded([this] { link_->setFieldName(model_->column(column_).field); });
    if (!bound) return;
    // A typed key starts editing the row (a new one in an empty table) first,
    // so that the editor opens on the row it will be written to.
    if (changed && !link_->userChanged()) return;
    const auto f = link_->field();
    editor_->setText(changed ? text : (f ? fromSjis(f->editText()) : QString()));
    editor_->show();
    placeEditor();
    editor_->setFocus(Qt::OtherFocusReason);
    editor_->end(false);
}

bool TDBGrid::write(bool reportLater) {
    if (!editorShown()) return true;
    try {
        link_->updateRecord();
    } catch (const std::exception& e) {
        refused_ = true;
        editor_->setFocus(Qt::OtherFocusReason);
        editor_->selectAll();
        // While the focus is being handed over no modal box may run.
        if (reportLater)
            ShowDefaultErrorLater(this, QString::fromUtf8(e.what()));
        else
            ShowDefaultError(e);
        return false;
    }
    hideEditor();
    return true;
}

void TDBGrid::hideEditor() {
    refused_ = false;
    if (!editorShown()) return;
    const bool hadFocus = editor_->hasFocus();
    if (hadFocus) setFocus(Qt::OtherFocusReason);  // hiding must not pass the focus on
    editor_->hide();
}

void TDBGrid::placeEditor() {
    if (!editorShown()) return;
    const int row = model_->cursorRow();
    if (row < 0 || row >= model_->rowCount()) return;
    editor_->setGeometry(visualRect(model_->index(row, column_)).adjusted(1, 1, -1, -1));
}

void TDBGrid::updateGeometries() {
    QTableView::updateGeometries();
    placeEditor();
}

void TDBGrid::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    placeEditor();
}

// ---- row commands -----------------------------------------------------------

void TDBGrid::abandonRow() {
    link_->reset();
    hideEditor();
    if (table().active() && isEditing(table())) guarded([this] { table().cancel(); });
}

void TDBGrid::deleteRow() {
    if (!table().active() || !AskDeleteRecord()) return;
    link_->reset();
    hideEditor();
    guarded([this] { table().remove(); });
}

void TDBGrid::moveDown() {
    Table& t = table();
    if (!t.active()) return;
    // Below a new row nobody has typed into there is nothing to append after.
    if (t.state() == TableState::Insert && !t.modified()) return;
    guarded([&t] { t.append(); });
}

// ---- the cursor -------------------------------------------------------------

void TDBGrid::mousePressEvent(QMouseEvent* e) {
    // A click elsewhere is a move: the cell being edited is written first.
    if (editorShown() && !writeCell()) return;
    QTableView::mousePressEvent(e);
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    QTableView::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton && indexAt(e->position().toPoint()).isValid()) showEditor();
}

void TDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (!current.isValid()) return;
    if (current.column() != column_) {
        hideEditor();  // written before the move by the key or click that made it
        column_ = current.column();
    }
}

void TDBGrid::rowChosen(int row) {
    if (following_ || row < 0) return;
    if (!guarded([this, row] { model_->moveCursorTo(row); })) followCursor(model_->cursorRow());
}

void TDBGrid::followCursor(int row) {
    following_ = true;
    if (row < 0 || row >= model_->rowCount()) {
        selectionModel()->clearCurrentIndex();
    } else {
        const QModelIndex index = model_->index(row, std::clamp(column_, 0, model_->columnCount() - 1));
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        scrollTo(index);
    }
    following_ = false;
    placeEditor();
}

// ---- leaving ----------------------------------------------------------------

void TDBGrid::focusMoved(QWidget* now) {
    // Another window (a message box, a menu) taking the focus leaves nothing.
    if (!now || now->window() != window()) return;
    if (now == this || isAncestorOf(now)) {
        hadFocus_ = true;
        return;
    }
    if (!hadFocus_) return;
    leaveGrid();
}

void TDBGrid::leaveGrid() {
    if (!write(true)) return;  // the focus is back in the editor
    hadFocus_ = false;
    Table& t = table();
    if (t.active() && t.state() == TableState::Insert && !t.modified()) guarded([&t] { t.cancel(); });
    emit exited();
}

}  // namespace tamboro
