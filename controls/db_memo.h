#pragma once
#include <QPlainTextEdit>
#include <string_view>

#include "controls/field_link.h"

namespace tamboro {

// A multi-line edit bound to a memo (or text) field. Line breaks are stored
// as CR LF, as the catalogue's files hold them. Enter starts a new line; Tab
// moves on. The text is written into the field when the memo is left;
// Escape puts the stored text back.
class TDBMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TDBMemo(QWidget* parent = nullptr);

    void setDataSource(DataSource* source) { link_.setDataSource(source); }
    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataField(std::string_view utf8Name) { link_.setFieldName(utf8Name); }
    const std::string& dataField() const { return link_.fieldName(); }
    FieldLink& link() { return link_; }
    void setReadOnly(bool on) { link_.setReadOnly(on); }

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void showField();
    void writeField();

    bool showing_ = false;
    FieldLink link_;
};

}  // namespace tamboro
