#pragma once
#include <cstdint>

#include "controls/fixed_dialog.h"
#include "controls/impress_captions.h"

class QLabel;
class QPushButton;

namespace tamboro {

class TDM1;

// The record editor. Created once at start-up, shown modally on CDvd's
// current title. New titles are numbered from the data module's counter,
// which outlives the editor.
class TFDataIn : public TFixedDialog {
    Q_OBJECT
public:
    explicit TFDataIn(TDM1& dm, QWidget* parent = nullptr);

    // Creation duties: opens CDvd (and with it the other tables), sets the
    // counter from the highest CODE and captions the impression boxes of
    // this window and of the main window's table.
    void FormCreate(const ImpressBoxTable& mainWindowBoxes);

    // Starts a new numbered title in insert state.
    void AddNewTitle();

    // Posts a pending change of CDvd, then closes; on a failed post the
    // error is shown and the window stays open.
    void BEndClick();

    int32_t lastCode() const;
    const ImpressBoxTable& impressBoxes() const { return ImpressChecks; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    void showCurrentTitle();

    TDM1& dm_;
    ImpressBoxTable ImpressChecks{};
    QLabel* code_;
    QLabel* title_;
    QPushButton* BEnd;
};

}  // namespace tamboro
