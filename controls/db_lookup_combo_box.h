#pragma once
#include <QComboBox>
#include <string>
#include <string_view>
#include <vector>

#include "controls/field_link.h"

namespace tamboro {

// A list box bound to a code field that lists the names of another table:
// it shows the name of the list row whose key equals the field, and stores
// the key of the row the user picks, at once. The list follows the list
// table's rows; its current row is left alone. Where two rows share a key
// the first in the list's order names it; a blank field shows nothing.
class TDBLookupComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TDBLookupComboBox(QWidget* parent = nullptr);
    ~TDBLookupComboBox() override;

    void setDataSource(DataSource* source) { link_.setDataSource(source); }
    DataSource* dataSource() const { return link_.dataSource(); }
    void setDataField(std::string_view utf8Name) { link_.setFieldName(utf8Name); }
    const std::string& dataField() const { return link_.fieldName(); }
    FieldLink& link() { return link_; }
    void setReadOnly(bool on) { link_.setReadOnly(on); }

    // The list: its table, the field matched against the bound field, and
    // the field shown. Throws the engine's message for an unknown field.
    void setListSource(DataSource* source);
    DataSource* listSource() const { return listSource_; }
    void setKeyField(std::string_view utf8Name);
    void setListField(std::string_view utf8Name);

    // Key of item i as the list table writes it (Shift-JIS text).
    const std::string& keyTextAt(int i) const { return keys_[static_cast<size_t>(i)]; }

    void showPopup() override;

signals:
    // The user picked a row; the field already holds its key.
    void clicked();

private:
    class ListWatcher;

    void showField();
    void writeField();
    void fillList();
    void listChanged();

    DataSource* listSource_ = nullptr;
    std::string keyFieldSjis_, listFieldSjis_;
    std::vector<std::string> keys_;
    bool listStale_ = true;
    bool showing_ = false;
    ListWatcher* watcher_;
    FieldLink link_;
};

}  // namespace tamboro
