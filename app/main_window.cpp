#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QPushButton>

#include "about/about_form.h"
#include "app/activation_tracker.h"
#include "app/dvd_grid_view.h"
#include "app/ini_file.h"
#include "app/settings.h"
#include "app/winplace.h"
#include "controls/app_font.h"
#include "controls/leave_handlers.h"
#include "controls/message_boxes.h"
#include "controls/ret_combo_box.h"
#include "controls/table_model.h"
#include "data/data_module.h"
#include "data/recovery.h"
#include "data/sjis.h"
#include "editor/data_in_form.h"
#include "masters/mente_form.h"

namespace tamboro {

TFMain::TFMain(TDM1& dm, std::filesystem::path iniFile, QWidget* parent)
    : QWidget(parent), dm_(dm), iniFile_(std::move(iniFile)) {
    setObjectName(QStringLiteral("FMain"));
    setWindowTitle(QStringLiteral("Tamboro"));
    setFont(appFont(12));
    setFixedSize(792, 553);
    move(80, 42);

    buildPanels();
    buildCriteria();
    buildGrid();
    buildButtons();
    buildPopupMenu();
    setTabOrder();
    connectHandlers();

    tracker_ = new ActivationTracker(this, this);
    connect(tracker_, &ActivationTracker::activated, this, [this] { FormActivate(); });
}

TFMain::~TFMain() {
    // QWidget's destructor, which runs after this one, destroys the controls
    // and so moves the application's focus; nothing may call back into this
    // window's handlers then. The leave handlers go with the members.
    disconnect(tracker_, nullptr, this, nullptr);
}

void TFMain::connectHandlers() {
    auto click = [this](QPushButton* b, void (TFMain::*handler)()) {
        connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    click(BSearch, &TFMain::BSearchClick);
    click(BKaijo, &TFMain::BKaijoClick);
    click(BSTouroku, &TFMain::BSTourokuClick);
    click(BSTitle, &TFMain::BSTitleClick);
    click(BSGenre, &TFMain::BSGenreClick);
    click(BAdd, &TFMain::BAddClick);
    click(BEdit, &TFMain::BEditClick);
    click(BPrint, &TFMain::BPrintClick);
    click(BMente, &TFMain::BMenteClick);
    click(BSClose, &TFMain::BSCloseClick);

    connect(DvdGrid, &DvdGridView::gridDoubleClicked, this, [this] { BEditClick(); });
    connect(DvdGrid, &DvdGridView::charTyped, this, [this](QChar ch) { DvdGridKeyPress(ch); });
    connect(DvdGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { gridRowChosen(current.row()); });
    connect(DvdGrid->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (current.isValid()) gridColumn_ = current.column();
    });
    connect(gridModel_, &TableModel::cursorRowChanged, this, [this](int row) { followCursor(row); });
    followCursor(gridModel_->cursorRow());
    connectCriteria();
}

// ---- life cycle -------------------------------------------------------------

void TFMain::FormCreate() {
    BupPath = readBackupFolder(iniFile_);
    ImpressChecks = findImpressBoxes(*this, "ChkSImpress");
}

void TFMain::FormActivate() {
    ++activations_;
    guarded([this] {
        RestorePlacement(*this, iniFile_, placementSection(*this));
        ComboSet();
        InitSerch();
    });
    if (!focusWidget()) CmbSGenre1->setFocus();
}

bool TFMain::FormClose() { return guarded([this] { dm_.closeCatalogue(); }); }

void TFMain::FormDestroy() {
    // One write of the whole file, so that a failure or a kill leaves the old one whole.
    guarded([this] {
        IniFile ini(iniFile_);
        writeBackupFolder(ini, BupPath);
        SavePlacement(*this, ini, placementSection(*this));
        ini.save();
    });
}

void TFMain::closeEvent(QCloseEvent* e) {
    // A catalogue its folder cannot take may still be saved elsewhere, so
    // that ending the program loses nothing.
    const bool written = FormClose();
    if (!written && !saveElsewhereAfterFailedClose()) {
        e->ignore();  // nothing was closed; closing again retries
        return;
    }
    // Every change is in the data files now; a catalogue saved elsewhere
    // instead keeps its recovery copy.
    if (written) guarded([this] { removeRecoveryFolder(dm_.folder()); });
    e->accept();
    emit closed();
}

// ---- sort orders --------------------------------------------------------------

void TFMain::BSTourokuClick() { guarded([this] { dm_.CDvd.setIndexFields(sj(fld::Code)); }); }

void TFMain::BSTitleClick() { guarded([this] { dm_.CDvd.setIndexFields(sj(fld::Title)); }); }

void TFMain::BSGenreClick() {
    guarded([this] { dm_.CDvd.setIndexFields(sj(std::string(fld::Genre1) + ";" + std::string(fld::Genre2))); });
}

// ---- commands -----------------------------------------------------------------

void TFMain::runModal(QDialog* window) {
    if (!window) return;
    window->exec();
    // Back to the main window as from any modal window; the activation
    // steps do not run for it.
    activateWindow();
}

void TFMain::showEditor() { runModal(partners_.dataIn); }

void TFMain::BAddClick() {
    if (!partners_.dataIn) return;
    if (guarded([this] { partners_.dataIn->AddNewTitle(); })) showEditor();
}

void TFMain::BEditClick() { showEditor(); }

void TFMain::DvdGridKeyPress(QChar key) {
    if (key.unicode() == 13) BEditClick();
}


void TFMain::BMenteClick() {
    if (!partners_.mente) return;
    runModal(partners_.mente);
    guarded([this] { ComboSet(); });
}

void TFMain::About1Click() {
    runModal(partners_.about);
}

void TFMain::BSCloseClick() { close(); }

// ---- grid and cursor ------------------------------------------------------------

void TFMain::gridRowChosen(int row) {
    if (followingCursor_ || row < 0) return;
    if (!guarded([this, row] { gridModel_->moveCursorTo(row); })) followCursor(gridModel_->cursorRow());
}

void TFMain::followCursor(int row) {
    followingCursor_ = true;
    QItemSelectionModel* selection = DvdGrid->selectionModel();
    if (row < 0) {
        selection->clear();
    } else {
        const QModelIndex index = gridModel_->index(row, gridColumn_);
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        DvdGrid->scrollTo(index);
    }
    followingCursor_ = false;
}

}  // namespace tamboro
