#pragma once
#include <QLineEdit>
#include <string_view>

#include "controls/field_link.h"

namespace tamboro {

class SjisWidthValidator;

// A single-line edit bound to a field. Shows the current record's value (an
// amount as "¥1,980" until it is entered, then as a plain number), starts
// editing on the first change, and writes the text into the field when left.
// Text fields take at most their width in Shift-JIS bytes; number fields
// take only the characters a number can hold, refusing others with a beep.
// Escape puts the stored value back.
class TDBEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TDBEdit(QWidget* parent = nullptr);

    void setDataSource(DataSource* source) { link_.setDataSource(source); }
    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataField(std::string_view utf8Name) { link_.setFieldName(utf8Name); }
    const std::string& dataField() const { return link_.fieldName(); }
    FieldLink& link() { return link_; }

    // The control's own read-only switch. The edit is also read-only while
    // its field cannot be changed (no open table, a read-only field).
    void setReadOnly(bool on) { link_.setReadOnly(on); }
    bool readOnlyByUser() const { return link_.readOnly(); }

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;

    // Escape and the character rule of the field's type; true when the key
    // is used up.
    bool boundKeyStep(QKeyEvent* e);

private:
    void showField();
    void writeField();

    SjisWidthValidator* width_;
    FieldLink link_;
};

}  // namespace tamboro
