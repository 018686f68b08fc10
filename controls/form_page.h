#pragma once
#include <QColor>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "controls/ime_mode.h"

namespace tamboro {

class DataSource;

// What a row of a form page builds.
enum class RowKind {
    Panel,        // raised panel; the rows after it may sit on it
    SunkenPanel,  // lowered panel
    Label,
    CaptionTile,  // a group's heading tile, coloured when a colour is given
    // Plain controls (Enter-advancing; the number edit is right-aligned, digits only).
    RetEdit,
    NumberEdit,
    RetComboBox,  // editable, typing is never completed nor added to the list
    RetCheckBox,
    RadioButton,
    // Controls bound to a field of the page's data source.
    DbRetEdit,
    DbMemo,
    DbRetComboBox,
    DbRetLookupComboBox,
    DbRetCheckBox,
    DbRadioGroup,
};

// One control of a form page, as a table of the page's controls would list it.
struct FormRow {
    const char* name = nullptr;    // object name; labels may go without
    RowKind kind = RowKind::Label;
    const char* parent = nullptr;  // the panel it sits on, by name; null for the page itself
    QRect place{};                 // on its parent
    std::string_view field{};      // bound kinds: the field, UTF-8
    ImeMode ime = ImeMode::DontCare;
    int tab = 0;                   // place in the page's tab order, from 1; 0 for none
    QString caption{};             // label, tile, check box and radio button text
    QStringList items{};           // combo box items; radio group captions
    QStringList values{};          // radio group: the value each item stores
    QColor colour{};               // tile or edit background
    // Lookup combo boxes: the list's data source by name, its key and shown fields.
    std::string_view listSource{}, keyField{}, listField{};
    // Given the control once it is built, to keep it in the window's member.
    std::function<void(QWidget*)> keep{};
};

// Where bound rows find their data: the page's data source, and the list
// sources of lookup combo boxes by name.
struct FormBinding {
    DataSource* source = nullptr;
    std::function<DataSource*(std::string_view name)> listSource;
};

// The controls built from the rows, in row order, and the tab stops in tab order.
struct BuiltPage {
    std::vector<QWidget*> controls;
    std::vector<QWidget*> tabChain;
};

// Builds the rows on page, in row order: each control named, placed, with its
// input method mode, bound to its field, and the tab stops chained in tab
// order. Throws std::invalid_argument for a parent that no earlier row or child
// of the page names, a bound row without a data source, or a tab place taken
// twice; the engine's error for an unknown field.
BuiltPage buildFormPage(QWidget* page, const std::vector<FormRow>& rows, const FormBinding& binding = {});

// A keep function that stores the control in member; throws when the row
// builds another kind of control.
template <class T>
std::function<void(QWidget*)> into(T*& member) {
    return [&member](QWidget* w) {
        member = qobject_cast<T*>(w);
        if (!member) throw std::invalid_argument("form row " + w->objectName().toStdString() + ": another kind");
    };
}

// Rows of the kinds most pages are made of; text in UTF-8.
inline FormRow labelRow(const char* parent, const char* text, QRect place) {
    return {.kind = RowKind::Label, .parent = parent, .place = place, .caption = QString::fromUtf8(text)};
}
inline FormRow dbEditRow(const char* name, const char* parent, QRect place, std::string_view field, ImeMode ime,
                         int tab) {
    return {.name = name, .kind = RowKind::DbRetEdit, .parent = parent, .place = place, .field = field, .ime = ime,
            .tab = tab};
}
inline FormRow dbMemoRow(const char* name, const char* parent, QRect place, std::string_view field, int tab) {
    return {.name = name, .kind = RowKind::DbMemo, .parent = parent, .place = place, .field = field,
            .ime = ImeMode::Open, .tab = tab};
}
inline FormRow dbCheckRow(const char* name, const char* parent, const char* text, QRect place,
                          std::string_view field, int tab) {
    return {.name = name, .kind = RowKind::DbRetCheckBox, .parent = parent, .place = place, .field = field,
            .tab = tab, .caption = QString::fromUtf8(text)};
}
// A group's coloured caption tile, in its top left corner.
inline FormRow tileRow(const char* name, const char* parent, const char* text, int width, const QColor& colour) {
    return {.name = name, .kind = RowKind::CaptionTile, .parent = parent, .place = QRect(2, 2, width, 16),
            .caption = QString::fromUtf8(text), .colour = colour};
}

}  // namespace tamboro
