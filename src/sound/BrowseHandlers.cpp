// The two Browse buttons.

#include "main_window/MainForm.h"

namespace wobblix {

void MainForm::cmdBrowse_Click() {}
void MainForm::cmdChimesBrowse_Click() {}

} // namespace wobblix
