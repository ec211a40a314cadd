// The installation fixture of tests of the component alone: only the
// component is pointed at the throw-away folder.

#include "TestSupport.h"

TestInstall::TestInstall() {
    setUpComponent();
}

TestInstall::~TestInstall() {
    tearDownComponent();
}
