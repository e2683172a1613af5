#pragma once
// Where an installed program finds what is installed beside it: <prefix>/bin/velmora uses
// <prefix>/share/velmora for its help file and the sample data.

#include <QString>

namespace velmora::gui {

// <executable's folder>/../share/velmora, or an empty string when there is no such folder (a program
// run from its build tree).
QString SharedDataDir(const QString& exeDir);
// The installed sample data folder (SharedDataDir + "/sample"), or an empty string.
QString SampleDataDir(const QString& exeDir);

} // namespace velmora::gui
