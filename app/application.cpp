#include "app/application.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "about/about_form.h"
#include "about/program_identity.h"
#include "app/main_window.h"
#include "app/recovery_offer.h"
#include "app/recovery_timer.h"
#include "controls/app_font.h"
#include "controls/message_boxes.h"
#include "data/data_module.h"
#include "data/fresh_install.h"
#include "editor/br_date_form.h"
#include "editor/data_in_form.h"
#include "masters/mente_form.h"
#include "report/prn1_form.h"

namespace tamboro {
namespace {

std::function<void(const std::string&)>& stepObserver() {
    static std::function<void(const std::string&)> observer;
    return observer;
}

void step(const std::string& name) {
    if (stepObserver()) stepObserver()(name);
}

// Qt's own texts (edit menus, print and file dialogs) in Japanese, as the
// rest of the program is. Installed once per application object.
void installQtTranslations() {
    const QString name = QStringLiteral("tamboroQtJapanese");
    if (!qApp || qApp->findChild<QTranslator*>(name)) return;
    auto* translator = new QTranslator(qApp);
    translator->setObjectName(name);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // "qt_ja" gathers the translations of every Qt module installed.
    if (translator->load(QStringLiteral("qt_ja"), folder) || translator->load(QStringLiteral("qtbase_ja"), folder)) {
        QCoreApplication::installTranslator(translator);
    } else {
        qWarning("Qt's Japanese translations are missing from %s", qPrintable(folder));
        delete translator;
    }
}

}  // namespace

void Program::setStepObserver(std::function<void(const std::string&)> observer) {
    stepObserver() = std::move(observer);
}

Program::Program(StartupPaths paths) {
    initialiseApplication();
    step("title");
    // A first run finds no data files (and, installed, not even their
    // folders): create the empty ones before any table opens, so that every
    // table can open.
    guarded([&] {
        createStartupFolders(paths);
        createMissingFiles(paths.dataFolder);
    });
    // A run that ended without closing the catalogue may have left its
    // unsaved changes: offer them before any table reads its file.
    offerRecovery(paths.dataFolder);
    step("fresh-install");

    DM1_ = std::make_unique<TDM1>(paths.dataFolder);
    recovery_ = std::make_unique<RecoveryTimer>(*DM1_);
    guarded([&] { DM1_->openAtCreation(); });
    step("TDM1");

    FMain_ = std::make_unique<TFMain>(*DM1_, paths.iniFile);
    guarded([&] { FMain_->FormCreate(); });
    step("TFMain");

    FPrn1_ = std::make_unique<TFPrn1>(*DM1_);
    step("TFPrn1");

    FDataIn_ = std::make_unique<TFDataIn>(*DM1_);
    guarded([&] { FDataIn_->FormCreate(FMain_->impressBoxes()); });
    step("TFDataIn");

    FAbout_ = std::make_unique<TFAbout>();
    step("TFAbout");
    BrDateForm_ = std::make_unique<TBrDateForm>();
    FDataIn_->setDateForm(BrDateForm_.get());
    step("TBrDateForm");
    FMente_ = std::make_unique<TFMente>(*DM1_, &FMain_->impressBoxes(), &FDataIn_->impressBoxes());
    step("TFMente");

    FMain_->setPartners({FPrn1_.get(), FDataIn_.get(), FAbout_.get(), BrDateForm_.get(), FMente_.get()});
}

Program::~Program() {
    // Before anything else goes: tearing down writes no copy.
    recovery_.reset();
    FMain_->setPartners({});
    FMente_.reset();
    step("~TFMente");
    FDataIn_->setDateForm(nullptr);
    BrDateForm_.reset();
    step("~TBrDateForm");
    FAbout_.reset();
    step("~TFAbout");
    FDataIn_.reset();
    step("~TFDataIn");
    FPrn1_.reset();
    step("~TFPrn1");
    FMain_->FormDestroy();
    FMain_.reset();
    step("~TFMain");
    DM1_.reset();
    step("~TDM1");
}

int Program::run() {
    // Being the first window created, the main window is the program's:
    // its closing ends the event loop even while another window is open.
    QObject::connect(FMain_.get(), &TFMain::closed, qApp, &QCoreApplication::quit);
    FMain_->show();
    return QApplication::exec();
}

void initialiseApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Tamboro"));
    QCoreApplication::setApplicationVersion(programVersion());
    QApplication::setWindowIcon(programIcon());
    // Lets the desktop match the windows with the installed tamboro.desktop.
    QGuiApplication::setDesktopFileName(QStringLiteral("tamboro"));
    QApplication::setFont(appFont(12));
    installQtTranslations();
}

TamboroApplication::TamboroApplication(int& argc, char** argv) : QApplication(argc, argv) {
    initialiseApplication();
    setQuitOnLastWindowClosed(false);
}

bool TamboroApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowDefaultError(e);
        return false;
    }
}

}  // namespace tamboro
