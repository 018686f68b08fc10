#pragma once
#include <QApplication>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/data_folder.h"

namespace tamboro {

class TDM1;
class TFMain;
class TFPrn1;
class TFDataIn;
class TFAbout;
class TBrDateForm;
class TFMente;
class RecoveryTimer;

// The program's windows and data module, created in start-up order and
// destroyed in the reverse order.
class Program {
public:
    // Runs start-up up to the event loop: the folders and fresh-installation
    // files, the data module, then the windows. An error while one is created goes to the
    // default error box and start-up goes on with the next.
    explicit Program(StartupPaths paths);
    // Destroys the windows, the main window's destruction writing the
    // settings, then the data module.
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the main window and runs the event loop until it closes.
    int run();

    TDM1& DM1() const { return *DM1_; }
    TFMain& FMain() const { return *FMain_; }
    TFPrn1& FPrn1() const { return *FPrn1_; }
    TFDataIn& FDataIn() const { return *FDataIn_; }
    TFAbout& FAbout() const { return *FAbout_; }
    TBrDateForm& BrDateForm() const { return *BrDateForm_; }
    TFMente& FMente() const { return *FMente_; }
    // Keeps the recovery copy of the unsaved changes up to date.
    RecoveryTimer* recovery() const { return recovery_.get(); }

    // Told each start-up and shut-down step by name, for tracing.
    static void setStepObserver(std::function<void(const std::string& step)> observer);

private:
    std::unique_ptr<TDM1> DM1_;
    std::unique_ptr<RecoveryTimer> recovery_;
    std::unique_ptr<TFMain> FMain_;
    std::unique_ptr<TFPrn1> FPrn1_;
    std::unique_ptr<TFDataIn> FDataIn_;
    std::unique_ptr<TFAbout> FAbout_;
    std::unique_ptr<TBrDateForm> BrDateForm_;
    std::unique_ptr<TFMente> FMente_;
};

// The application object: the title "Tamboro", the program's font, and the
// default error box for an error that no handler caught.
class TamboroApplication : public QApplication {
public:
    TamboroApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Sets the application title, version and icon, the font every window is
// laid out for, and Qt's own texts in Japanese.
void initialiseApplication();

}  // namespace tamboro
