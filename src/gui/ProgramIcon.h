#pragma once

#include <QIcon>

namespace tarvik {

// The program's own icon (a disc with a check mark), as the desktop menu shows it.
QIcon ProgramIcon();

}  // namespace tarvik
