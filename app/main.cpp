#include "app/application.h"

int main(int argc, char* argv[]) {
    tamboro::TamboroApplication app(argc, argv);
    // The data files and the settings file live beside the executable, or,
    // for the installed program, in the user's own folders.
    tamboro::Program program(tamboro::startupPaths());
    return program.run();
}
