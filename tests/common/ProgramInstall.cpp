// The installation fixture of tests of the program: the component and the
// program both read the throw-away folder, so the program's own routines (the
// reports' data source, the log, the start-up checks) find its database.

#include "TestSupport.h"

#include "platform/ProgramFolder.h"

TestInstall::TestInstall() {
    if (setUpComponent()) {
        setProgramFolder(folder());
    }
}

TestInstall::~TestInstall() {
    tearDownComponent();
    setProgramFolder(QString());
}
