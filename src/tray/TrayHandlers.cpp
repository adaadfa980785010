// Hiding the window into the notification area and bringing it back.

#include "main_window/MainForm.h"

namespace wobblix {

void MainForm::menuHide_Click() {}
qint32 MainForm::ShellTrayAdd() { return 0; }
void MainForm::ShellTrayDelete() {}
void MainForm::Picture1_MouseMove(qint16, qint16, float, float) {}

} // namespace wobblix
