#include "controls/db_radio_group.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

#include "controls/sjis_qt.h"

namespace tamboro {

TDBRadioGroup::TDBRadioGroup(QWidget* parent)
    : QGroupBox(parent),
      buttons_(new QButtonGroup(this)),
      grid_(new QGridLayout(this)),
      link_(this, {[this] { showField(); }, [this] { writeField(); }, {}}) {
    connect(buttons_, &QButtonGroup::idClicked, this, [this] {
        if (!link_.userChanged()) return;
        if (link_.tryUpdateRecord()) emit changedByUser();
    });
}

void TDBRadioGroup::setItems(const QStringList& captions) {
    items_ = captions;
    rebuild();
}

void TDBRadioGroup::setValues(const QStringList& values) {
    values_ = values;
    showField();
}

void TDBRadioGroup::setColumns(int columns) {
    columns_ = std::max(1, columns);
    rebuild();
}

void TDBRadioGroup::rebuild() {
    for (QAbstractButton* b : buttons_->buttons()) delete b;
    // Items run down the first column, then the next, as a radio group lays
    // them out.
    const int n = static_cast<int>(items_.size());
    const int rows = (n + columns_ - 1) / columns_;
    for (int i = 0; i < n; ++i) {
        auto* b = new QRadioButton(items_[i], this);
        buttons_->addButton(b, i);
        grid_->addWidget(b, rows ? i % rows : 0, rows ? i / rows : 0);
    }
    showField();
}

QString TDBRadioGroup::valueOf(int item) const {
    return item < values_.size() ? values_[item] : items_[item];
}

int TDBRadioGroup::itemIndex() const { return buttons_->checkedId(); }

void TDBRadioGroup::showField() {
    int shown = -1;
    if (const auto f = link_.field()) {
        const QString text = fieldText(*f);
        for (int i = 0; i < items_.size(); ++i)
            if (valueOf(i) == text) {
                shown = i;
                break;
            }
    }
    if (shown >= 0) {
        buttons_->button(shown)->setChecked(true);
    } else if (QAbstractButton* b = buttons_->checkedButton()) {
        // An exclusive group never unchecks its last button by itself.
        buttons_->setExclusive(false);
        b->setChecked(false);
        buttons_->setExclusive(true);
    }
}

void TDBRadioGroup::writeField() {
    const int i = itemIndex();
    if (auto f = link_.field()) f->setText(i < 0 ? std::string() : toSjisQ(valueOf(i)));
}

}  // namespace tamboro
