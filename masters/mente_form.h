#pragma once
#include "controls/fixed_dialog.h"
#include "controls/impress_captions.h"

class QFrame;
class QPushButton;

namespace tamboro {

class DataSource;
class TCaptionDBNavi;
class TDBGrid;
class TDM1;

// The master lists window, shown modally from the main window: the genre,
// sub-genre, sound format, audio language and impression lists, each edited
// in place in a grid under its navigator. Closing it recaptions the
// impression boxes of the main window and the editor.
class TFMente : public TFixedDialog {
    Q_OBJECT
public:
    TFMente(TDM1& dm, const ImpressBoxTable* mainWindowBoxes, const ImpressBoxTable* editorBoxes,
            QWidget* parent = nullptr);

    // Leaving a grid posts the row its table is still editing.
    void GenreGridExit();
    void Genre2GridExit();
    void SoundGridExit();
    void LangeGridExit();
    void ImpressGridExit();
    void BEndClick();

    QFrame* Panel1;
    QFrame* Panel2;
    QFrame* Panel4;
    QFrame* Panel7;
    TCaptionDBNavi* CaptionDBNavi1;
    TCaptionDBNavi* CaptionDBNavi2;
    TCaptionDBNavi* CaptionDBNavi3;
    TCaptionDBNavi* CaptionDBNavi4;
    TCaptionDBNavi* CaptionDBNavi5;
    TDBGrid* GenreGrid;
    TDBGrid* Genre2Grid;
    TDBGrid* SoundGrid;
    TDBGrid* LangeGrid;
    TDBGrid* ImpressGrid;
    QPushButton* BEnd;

private:
    void buildGroups();
    void connectExits();
    void setTabOrder();

    TDM1& dm_;
    const ImpressBoxTable* mainWindowBoxes_;
    const ImpressBoxTable* editorBoxes_;
};

}  // namespace tamboro
