#include "controls/form_page.h"

#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <algorithm>
#include <map>
#include <stdexcept>

#include "controls/db_memo.h"
#include "controls/db_radio_group.h"
#include "controls/db_ret_check_box.h"
#include "controls/db_ret_combo_box.h"
#include "controls/db_ret_edit.h"
#include "controls/db_ret_lookup_combo_box.h"
#include "controls/form_parts.h"
#include "controls/r_edit.h"
#include "controls/ret_check_box.h"
#include "controls/ret_combo_box.h"
#include "controls/ret_edit.h"

namespace tamboro {
namespace {

std::string rowName(const FormRow& row) { return row.name ? row.name : "(unnamed)"; }

[[noreturn]] void refuse(const FormRow& row, const std::string& why) {
    throw std::invalid_argument("form row " + rowName(row) + ": " + why);
}

void setBackground(QWidget* w, const QColor& colour) {
    if (!colour.isValid()) return;
    QPalette pal = w->palette();
    pal.setColor(QPalette::Base, colour);
    w->setPalette(pal);
}

void makeEditable(QComboBox* c) {
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setCompleter(nullptr);
}

template <class Control>
Control* bound(Control* c, const FormRow& row, const FormBinding& binding) {
    if (!binding.source) refuse(row, "a bound control needs the page's data source");
    c->setDataSource(binding.source);
    c->setDataField(row.field);
    return c;
}

QWidget* lookupCombo(QWidget* parent, const FormRow& row, const FormBinding& binding) {
    auto* c = bound(new TDBRetLookupComboBox(parent), row, binding);
    DataSource* list = binding.listSource ? binding.listSource(row.listSource) : nullptr;
    if (!list) refuse(row, "no list source " + std::string(row.listSource));
    c->setListSource(list);
    c->setKeyField(row.keyField);
    c->setListField(row.listField);
    return c;
}

QWidget* create(QWidget* parent, const FormRow& row, const FormBinding& binding) {
    switch (row.kind) {
    case RowKind::Panel: return panel(parent, row.name, row.place);
    case RowKind::SunkenPanel: return panel(parent, row.name, row.place, QFrame::Sunken);
    case RowKind::Label: return label(parent, row.caption, row.place);
    case RowKind::CaptionTile: return captionTile(parent, row.name, row.caption, row.place, row.colour);
    case RowKind::RetEdit: return new TRetEdit(parent);
    case RowKind::NumberEdit: {
        auto* e = new TREdit(parent);
        e->setTextAlignment(TREdit::taRightJustify);
        e->setNumericType(TREdit::ntPlusInteger);
        return e;
    }
    case RowKind::RetComboBox: {
        auto* c = new TRetComboBox(parent);
        makeEditable(c);
        c->addItems(row.items);
        return c;
    }
    case RowKind::RetCheckBox: return new TRetCheckBox(row.caption, parent);
    case RowKind::RadioButton: return new QRadioButton(row.caption, parent);
    case RowKind::DbRetEdit: return bound(new TDBRetEdit(parent), row, binding);
    case RowKind::DbMemo: return bound(new TDBMemo(parent), row, binding);
    case RowKind::DbRetComboBox: {
        auto* c = new TDBRetComboBox(parent);
        makeEditable(c);
        c->addItems(row.items);
        return bound(c, row, binding);
    }
    case RowKind::DbRetLookupComboBox: return lookupCombo(parent, row, binding);
    case RowKind::DbRetCheckBox: return bound(new TDBRetCheckBox(row.caption, parent), row, binding);
    case RowKind::DbRadioGroup: {
        auto* g = new TDBRadioGroup(parent);
        g->setItems(row.items);
        g->setValues(row.values);
        return bound(g, row, binding);
    }
    }
    refuse(row, "unknown kind");
}

}  // namespace

BuiltPage buildFormPage(QWidget* page, const std::vector<FormRow>& rows, const FormBinding& binding) {
    BuiltPage built;
    std::map<std::string, QWidget*, std::less<>> byName;
    std::map<int, QWidget*> tabStops;
    for (const FormRow& row : rows) {
        QWidget* parent = page;
        if (row.parent) {
            if (auto it = byName.find(std::string_view(row.parent)); it != byName.end())
                parent = it->second;
            else if (!(parent = page->findChild<QWidget*>(QString::fromLatin1(row.parent))))
                refuse(row, std::string("no panel named ") + row.parent);
        }
        QWidget* w = create(parent, row, binding);
        if (row.name) {
            w->setObjectName(QString::fromLatin1(row.name));
            byName[row.name] = w;
        }
        w->setGeometry(row.place);
        if (row.kind != RowKind::CaptionTile) setBackground(w, row.colour);
        if (row.ime != ImeMode::DontCare) setImeMode(w, row.ime);
        if (row.tab > 0) {
            if (!tabStops.emplace(row.tab, w).second)
                refuse(row, "tab place " + std::to_string(row.tab) + " taken twice");
        } else if (w->focusPolicy() != Qt::NoFocus) {
            w->setFocusPolicy(Qt::ClickFocus);
        }
        if (row.keep) row.keep(w);
        built.controls.push_back(w);
    }
    for (const auto& [tab, w] : tabStops) built.tabChain.push_back(w);
    for (size_t i = 1; i < built.tabChain.size(); ++i) QWidget::setTabOrder(built.tabChain[i - 1], built.tabChain[i]);
    return built;
}

}  // namespace tamboro
