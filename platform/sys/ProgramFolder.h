#pragma once

#include <QString>

namespace sys {

// The folder that holds the program file, with a trailing '/': where
// "system.ini" and the "data" folder live. Needs a QCoreApplication unless an
// override is set.
QString programFolder();

// Points programFolder() elsewhere (a trailing '/' is added when missing);
// an empty folder restores the program's own. For tests, which must not
// touch the files beside the test program.
void setProgramFolderForTesting(const QString& folder);

} // namespace sys
