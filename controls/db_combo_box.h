#pragma once
#include <QComboBox>
#include <string_view>

#include "controls/field_link.h"

namespace tamboro {

class SjisWidthValidator;

// A combo box bound to a field through its text: it shows the field's text
// (selecting the item of that text if there is one) and stores the text of
// the item picked from the list at once, or the typed text when left.
// Typed text follows the field's width and character rules, as in TDBEdit;
// Escape puts the stored value back.
class TDBComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TDBComboBox(QWidget* parent = nullptr);

    void setDataSource(DataSource* source) { link_.setDataSource(source); }
    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataField(std::string_view utf8Name) { link_.setFieldName(utf8Name); }
    const std::string& dataField() const { return link_.fieldName(); }
    FieldLink& link() { return link_; }
    void setReadOnly(bool on) { link_.setReadOnly(on); }

signals:
    // The user picked an item or changed the text (not a redisplay).
    void changedByUser();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    bool boundKeyStep(QKeyEvent* e);

private:
    void showField();
    void writeField();
    void updateReadOnly();
    void hookLineEdit();

    bool showing_ = false;
    QLineEdit* hookedEdit_ = nullptr;
    SjisWidthValidator* width_ = nullptr;
    FieldLink link_;
};

}  // namespace tamboro
