#include <QComboBox>

#include "app/main_window.h"
#include "controls/message_boxes.h"
#include "controls/ret_combo_box.h"
#include "report/prn1_form.h"

namespace tamboro {

void TFMain::BPrintClick() {
    if (!partners_.prn1) return;
    // The criteria's texts as they stand, searched with or not.
    guarded([this] { partners_.prn1->showPreview(CmbSGenre1->currentText(), CmbSGenre2->currentText(), this); });
}

}  // namespace tamboro
