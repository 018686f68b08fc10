#pragma once
#include <QChar>
#include <QString>
#include <Qt>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "data/data_source.h"
#include "data/field.h"
#include "data/table.h"

class QFocusEvent;
class QWidget;

class QKeyEvent;

namespace tamboro {

// Binds one control to one field of a data source's table. It listens to the
// table's notifications and tells the control to show the field again; it
// starts editing on the user's first change and writes the control's value
// into the field when the control is left or on request. It holds no copy of
// the record: the control's own text is the only pending value.
class FieldLink : private TableObserver {
public:
    struct Hooks {
        std::function<void()> dataChange;     // show the field's value (or blank)
        std::function<void()> updateData;     // write the control's value; may throw
        std::function<void()> editingChange;  // canModify() may have changed
    };

    FieldLink(QWidget* control, Hooks hooks);
    ~FieldLink() override;
    FieldLink(const FieldLink&) = delete;
    FieldLink& operator=(const FieldLink&) = delete;

    // Binding. Both throw the engine's "項目 '%s' が見つかりません" when the
    // table is open and has no such field.
    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return source_; }
    void setFieldName(std::string_view utf8Name);
    const std::string& fieldName() const { return nameUtf8_; }

    // The bound field while the table is open and has it.
    std::optional<Field> field() const;
    bool active() const { return field().has_value(); }
    bool editing() const;  // the table is in edit or insert state
    bool canModify() const;
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool on);

    // The user changed the control: puts the table into edit state (once) and
    // marks the change. When the field cannot be changed now, the field's
    // value is shown again, any error is reported, and the result is false.
    bool userChanged();
    bool isModified() const { return modified_; }
    // Shows the stored value again, dropping the control's change (Escape).
    void reset();
    // Writes a pending change into the field; throws the engine's message when
    // the table refuses it, leaving the control's text as it is.
    void updateRecord();
    // updateRecord for controls that store at once (check box, list choice):
    // on failure reports the error and shows the stored value again.
    bool tryUpdateRecord();
    // The control lost the focus: writes a pending change. When the table
    // refuses it, the focus goes back to the control, selectAll runs, and the
    // message is reported. Losing the focus to another window or a popup
    // writes nothing, as the user has not left the control.
    void controlExit(const QFocusEvent* e, const std::function<void()>& selectAll);

    // Writes the pending change of every control bound to this table, so that
    // a window posting from a shortcut keeps what is typed in the control that
    // still has the focus. Throws the first refusal.
    static void updateRecords(const Table& table);

private:
    void activeChanged() override;
    void rowsChanged() override { showField(); }
    void currentChanged() override { showField(); }
    void stateChanged() override;
    void fieldChanged(int field) override;

    void rebind();
    void resolve();        // finds the field index; throws when missing
    void showField();      // dataChange, unless the link itself is starting an edit
    void editingChanged();

    QWidget* control_;
    Hooks hooks_;
    DataSource* source_ = nullptr;
    std::string nameUtf8_, nameSjis_;
    int index_ = -1;
    bool readOnly_ = false;
    bool modified_ = false;
    bool startingEdit_ = false;
    bool pendingReport_ = false;
};

// Whether a typed character may go into a field of this type: integer fields
// take digits and signs, amounts also an exponent and the decimal point.
bool fieldAcceptsChar(FieldType type, QChar ch);

// Beeps and swallows a typed character the bound field cannot hold; false
// when the key is not such a character (or typing is not possible).
bool refuseUnfitChar(const FieldLink& link, QKeyEvent* e, bool canType);

// The characters of a typed or committed text the field accepts.
QString acceptedChars(FieldType type, const QString& text);

}  // namespace tamboro
