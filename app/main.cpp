#include "app/application.h"

int main(int argc, char* argv[]) {
    tamboro::TamboroApplication app(argc, argv);
    // The working folder is the executable's: the data files and the
    // settings file live beside it.
    tamboro::Program program(tamboro::StartupPaths::besideExecutable());
    return program.run();
}
