#pragma once
#include <QGroupBox>
#include <QStringList>
#include <string_view>

#include "controls/field_link.h"

class QButtonGroup;
class QGridLayout;

namespace tamboro {

// A group of radio buttons bound to a field. Each item stands for a value
// (its entry in values, or its caption when values is empty); the button
// whose value equals the field's text is checked, none when no value
// matches. Clicking a button stores its value at once, through the field's
// text rules ("True"/"False" for a boolean field).
class TDBRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TDBRadioGroup(QWidget* parent = nullptr);

    void setDataSource(DataSource* source) { link_.setDataSource(source); }
    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataField(std::string_view utf8Name) { link_.setFieldName(utf8Name); }
    const std::string& dataField() const { return link_.fieldName(); }
    FieldLink& link() { return link_; }
    void setReadOnly(bool on) { link_.setReadOnly(on); }

    void setItems(const QStringList& captions);
    const QStringList& items() const { return items_; }
    void setValues(const QStringList& values);
    const QStringList& values() const { return values_; }
    void setColumns(int columns);
    // The checked item, or -1.
    int itemIndex() const;

signals:
    void changedByUser();

private:
    void rebuild();
    void showField();
    void writeField();
    QString valueOf(int item) const;

    QStringList items_, values_;
    int columns_ = 1;
    QButtonGroup* buttons_;
    QGridLayout* grid_;
    FieldLink link_;
};

}  // namespace tamboro
