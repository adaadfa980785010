// The rules of the hour and minute fields.

#include "main_window/MainForm.h"

namespace wobblix {

void MainForm::txtHour_KeyPress(qint16&) {}
void MainForm::txtMinute_KeyPress(qint16&) {}
void MainForm::txtHour_Change() {}
void MainForm::txtMinute_Change() {}

} // namespace wobblix
