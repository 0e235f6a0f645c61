#include "ProgramIcon.h"

namespace tarvik {

QIcon ProgramIcon() {
  // Both sizes, so that neither a title bar nor a task switcher scales a picture far.
  QIcon icon;
  icon.addFile(":/icons/tarvik-48.png");
  icon.addFile(":/icons/tarvik-256.png");
  return icon;
}

}  // namespace tarvik
