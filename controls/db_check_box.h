#pragma once
#include <QCheckBox>
#include <string_view>

#include "controls/field_link.h"

namespace tamboro {

// A check box bound to a boolean field: ticked shows and stores true,
// unticked false. A blank field shows unticked, as the engine reads a blank
// boolean as false; it stays blank until the user clicks the box. A click
// stores at once.
class TDBCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit TDBCheckBox(QWidget* parent = nullptr);
    explicit TDBCheckBox(const QString& text, QWidget* parent = nullptr);

    void setDataSource(DataSource* source) { link_.setDataSource(source); }
    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataField(std::string_view utf8Name) { link_.setFieldName(utf8Name); }
    const std::string& dataField() const { return link_.fieldName(); }
    FieldLink& link() { return link_; }
    void setReadOnly(bool on) { link_.setReadOnly(on); }

protected:
    void nextCheckState() override;

private:
    void showField();
    void writeField();

    FieldLink link_;
};

}  // namespace tamboro
