#include "app/TApplication.h"

#include "ui/ApplicationTitle.h"

namespace tarvik {

ApplicationTitleAtStart::ApplicationTitleAtStart() {
  ApplicationTitle::Get().SetText("Проверка дисков");
}

TApplication::TApplication(Platform& platform, Dialogs& dialogs)
    : Form1(platform, dialogs, SecondaryWindows{AboutBox, ListError, DlgInfo, DlgNetConnect}) {}

void TApplication::Run() { Form1.ShowMaximised(); }

}  // namespace tarvik
