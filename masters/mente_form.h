#pragma once
#include "controls/fixed_dialog.h"
#include "controls/impress_captions.h"

class QPushButton;

namespace tamboro {

class TDM1;

// The master lists window, shown modally from the main window. Closing it
// recaptions the impression boxes of the main window and the editor.
class TFMente : public TFixedDialog {
    Q_OBJECT
public:
    TFMente(TDM1& dm, const ImpressBoxTable* mainWindowBoxes, const ImpressBoxTable* editorBoxes,
            QWidget* parent = nullptr);

    void BEndClick();

private:
    TDM1& dm_;
    const ImpressBoxTable* mainWindowBoxes_;
    const ImpressBoxTable* editorBoxes_;
    QPushButton* BEnd;
};

}  // namespace tamboro
