#include "controls/db_lookup_combo_box.h"

#include "controls/message_boxes.h"
#include "controls/sjis_qt.h"
#include "data/error.h"
#include "data/messages.h"
#include "data/sjis.h"

namespace tamboro {

// Hears the list table: a change of its rows or of a value may rename or
// renumber entries; moving its cursor changes nothing shown.
class TDBLookupComboBox::ListWatcher : public TableObserver {
public:
    explicit ListWatcher(TDBLookupComboBox* box) : box_(box) {}
    void activeChanged() override { box_->listChanged(); }
    void rowsChanged() override { box_->listChanged(); }
    void fieldChanged(int) override { box_->listChanged(); }

private:
    TDBLookupComboBox* box_;
};

namespace {

int requireField(const Table& t, const std::string& sjisName) {
    const int i = t.schema().indexOf(sjisName);
    if (i < 0) throw DataError(formatMessage(msg::kNoField, {toUtf8(sjisName)}));
    return i;
}

}  // namespace

TDBLookupComboBox::TDBLookupComboBox(QWidget* parent)
    : QComboBox(parent),
      watcher_(new ListWatcher(this)),
      link_(this, {[this] { showField(); }, [this] { writeField(); }, {}}) {
    connect(this, &QComboBox::activated, this, [this] {
        if (showing_ || !link_.userChanged()) return;
        if (link_.tryUpdateRecord()) emit clicked();
    });
}

TDBLookupComboBox::~TDBLookupComboBox() {
    if (listSource_) listSource_->detach(watcher_);
    delete watcher_;
}

void TDBLookupComboBox::setListSource(DataSource* source) {
    if (listSource_) listSource_->detach(watcher_);
    listSource_ = source;
    if (listSource_) listSource_->attach(watcher_);
    listStale_ = true;
    showField();
}

void TDBLookupComboBox::setKeyField(std::string_view utf8Name) {
    keyFieldSjis_ = toSjis(utf8Name);
    listStale_ = true;
    showField();
}

void TDBLookupComboBox::setListField(std::string_view utf8Name) {
    listFieldSjis_ = toSjis(utf8Name);
    listStale_ = true;
    showField();
}

void TDBLookupComboBox::listChanged() {
    listStale_ = true;
    // Heard from inside a table operation, which must not be cut short.
    try {
        showField();
    } catch (const std::exception& e) {
        ShowDefaultErrorLater(this, QString::fromUtf8(e.what()));
    }
}

void TDBLookupComboBox::fillList() {
    if (!listStale_) return;
    keys_.clear();
    showing_ = true;
    clear();
    showing_ = false;
    if (!listSource_ || keyFieldSjis_.empty() || listFieldSjis_.empty() || !listSource_->table().active()) {
        listStale_ = false;
        return;
    }
    Table& t = listSource_->table();
    const int key = requireField(t, keyFieldSjis_);
    const int name = requireField(t, listFieldSjis_);
    const int n = t.recordCount();
    QStringList names;
    names.reserve(n);
    keys_.reserve(static_cast<size_t>(n));
    // Read the visible rows in place; the list's own cursor stays put.
    for (int p = 0; p < n; ++p) {
        keys_.push_back(t.fieldAt(key, p).displayText());
        names.push_back(fieldText(t.fieldAt(name, p)));
    }
    showing_ = true;
    addItems(names);
    showing_ = false;
    listStale_ = false;
}

void TDBLookupComboBox::showField() {
    int shown = -1;
    try {
        fillList();
    } catch (...) {
        showing_ = true;
        setCurrentIndex(-1);
        showing_ = false;
        throw;
    }
    if (const auto f = link_.field(); f && !f->isNull()) {
        const std::string key = f->displayText();
        for (size_t i = 0; i < keys_.size(); ++i)
            if (keys_[i] == key) {
                shown = static_cast<int>(i);
                break;
            }
    }
    showing_ = true;
    setCurrentIndex(shown);
    showing_ = false;
}

void TDBLookupComboBox::writeField() {
    const int i = currentIndex();
    if (auto f = link_.field()) f->setText(i < 0 ? std::string() : keys_[static_cast<size_t>(i)]);
}

void TDBLookupComboBox::showPopup() {
    if (listStale_) showField();
    QComboBox::showPopup();
}

}  // namespace tamboro
