#include "ui/ApplicationTitle.h"

namespace tarvik {

ApplicationTitle& ApplicationTitle::Get() {
  static ApplicationTitle title;
  return title;
}

}  // namespace tarvik
