#pragma once
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/search_slots.h"
#include "controls/impress_captions.h"

class QAbstractButton;
class QComboBox;
class QDialog;
class QFrame;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace tamboro {

class ActivationTracker;
class DvdGridView;
class LeaveHandlers;
class TDM1;
class TFAbout;
class TFDataIn;
class TFMente;
class TFPrn1;
class TBrDateForm;
class TFolderDialog;
class TableModel;
class TRetCheckBox;
class TRetComboBox;
class TRetEdit;
class TREdit;

// The windows created after the main window, which it shows or uses.
struct MainWindowPartners {
    TFPrn1* prn1 = nullptr;
    TFDataIn* dataIn = nullptr;
    TFAbout* about = nullptr;
    TBrDateForm* dateForm = nullptr;
    TFMente* mente = nullptr;
};

// The main window: the browse grid over CDvd, the search criteria, the
// command buttons and the popup menu. Closing it saves the catalogue.
class TFMain : public QWidget {
    Q_OBJECT
public:
    // iniFile: the settings file the backup folder and placement live in.
    TFMain(TDM1& dm, std::filesystem::path iniFile, QWidget* parent = nullptr);
    ~TFMain() override;

    void setPartners(const MainWindowPartners& partners) { partners_ = partners; }

    // Creation: reads the backup folder and builds the impression box table.
    void FormCreate();
    // Activation steps: placement from the settings file, ComboSet, InitSerch.
    void FormActivate();
    // Closing: writes every changed table; false (window stays open) when a
    // write failed.
    bool FormClose();
    // Destruction: writes the backup folder, then the placement.
    void FormDestroy();

    void ComboSet();
    void InitSerch();

    // Search criteria. Combo handlers run when an entry is picked, edit and
    // radio handlers when their control is left for another of this window.
    void BSearchClick();
    void BKaijoClick();
    void CmbSGenre1Click();
    void CmbSGenre2Click();
    void CmbSHyoukaClick();
    void CmbSDvdHyoukaClick();
    void CmbSCinemaHyoukaClick();
    void CmbSSoundClick();
    void CmbSLangeClick();
    void ESTitleExit();
    void ESSeisakuNenExit();
    void ESSeisakuKokuExit();
    void ESKantokuExit();
    void t();  // the cast edit left
    void ESKanshouDateExit();
    void ESKaisuuExit();
    void ESShuurokuExit();
    void ChkSImpressClick(QAbstractButton* sender);
    void SPopUpCalcBtnClick();
    void BSTourokuClick();
    void BSTitleClick();
    void BSGenreClick();
    void BAddClick();
    void BEditClick();
    void BPrintClick();
    void BMenteClick();
    void BSCloseClick();
    void About1Click();
    void BackupB1Click();
    void BackUpF1Click();
    void DvdGridKeyPress(QChar key);

    const ImpressBoxTable& impressBoxes() const { return ImpressChecks; }
    const QString& backupFolder() const { return BupPath; }
    void setBackupFolder(const QString& folder) { BupPath = folder; }
    const std::vector<int32_t>& genreCodes() const { return GenreCodes; }
    const std::vector<int32_t>& soundCodes() const { return SoundCodes; }
    const std::vector<int32_t>& langeCodes() const { return LangeCodes; }
    const std::vector<int32_t>& genre2Codes() const { return Genre2Codes; }
    const SearchSlots& searchSlots() const { return Slots; }
    DvdGridView* dvdGrid() const { return DvdGrid; }
    TableModel* dvdGridModel() const { return gridModel_; }
    QMenu* popupMenu() const { return PopupMenu1; }
    // The folder picker of backup, restore and the rescue at exit.
    TFolderDialog* folderDialog();
    int activationCount() const { return activations_; }

signals:
    // The window closed and the catalogue was saved: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    // Building the window (main_window_layout.cpp).
    void buildPanels();
    void buildCriteria();
    void buildGrid();
    void buildButtons();
    void buildPopupMenu();
    void setTabOrder();
    void connectHandlers();
    void connectCriteria();  // main_window_criteria.cpp

    // Backup, restore and the rescue at exit (main_window_backup.cpp).
    bool pickBackupFolder(const QString& title);
    bool saveElsewhereAfterFailedClose();

    void runModal(QDialog* window);
    void showEditor();
    void gridRowChosen(int row);
    void followCursor(int row);

    TDM1& dm_;
    std::filesystem::path iniFile_;
    MainWindowPartners partners_;
    ActivationTracker* tracker_ = nullptr;
    std::unique_ptr<LeaveHandlers> leaves_;  // the criteria's exit handlers
    int activations_ = 0;

    // Private state.
    std::vector<int32_t> GenreCodes, Genre2Codes, SoundCodes, LangeCodes;
    SearchSlots Slots;  // the criterion fragments the search joins
    QString BupPath;
    ImpressBoxTable ImpressChecks{};

    // Panels.
    QFrame *Panel4 = nullptr, *pnlTop = nullptr, *Panel3 = nullptr, *Panel2 = nullptr, *Panel5 = nullptr,
           *Panel15 = nullptr, *Panel1 = nullptr, *pnlRight = nullptr, *Panel17 = nullptr;
    // Criteria.
    TRetComboBox *CmbSGenre1 = nullptr, *CmbSGenre2 = nullptr, *CmbSHyouka = nullptr, *CmbSDvdHyouka = nullptr,
                 *CmbSCinemaHyouka = nullptr, *CmbSSound = nullptr, *CmbSLange = nullptr;
    TRetEdit *ESTitle = nullptr, *ESSeisakuKoku = nullptr, *ESKantoku = nullptr, *ESShutsuen = nullptr,
             *ESKanshouDate = nullptr;
    TREdit *ESSeisakunen = nullptr, *ESKaisuu = nullptr, *ESShuuroku = nullptr;
    QRadioButton *RdSeisakuNen1 = nullptr, *RdSeisakuNen2 = nullptr, *RdKanshou1 = nullptr, *RdKanshou2 = nullptr,
                 *RdKaisuu1 = nullptr, *RdKaisuu2 = nullptr, *RdShuuroku1 = nullptr, *RdShuuroku2 = nullptr;
    QAbstractButton* SPopUpCalcBtn = nullptr;
    std::array<TRetCheckBox*, 11> ChkSImpress{};
    // Grid and commands.
    DvdGridView* DvdGrid = nullptr;
    TableModel* gridModel_ = nullptr;
    bool followingCursor_ = false;
    int gridColumn_ = 0;  // the grid's current column, kept across resets
    QPushButton *BSearch = nullptr, *BKaijo = nullptr, *BSTouroku = nullptr, *BSTitle = nullptr, *BSGenre = nullptr,
                *BAdd = nullptr, *BEdit = nullptr, *BPrint = nullptr, *BMente = nullptr, *BSClose = nullptr;
    QMenu* PopupMenu1 = nullptr;
    TFolderDialog* FolderDialog1 = nullptr;
};

}  // namespace tamboro
