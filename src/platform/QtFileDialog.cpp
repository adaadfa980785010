#include "platform/QtFileDialog.h"

namespace wobblix::platform {

bool QtFileDialog::GetOpenFileName(OPENFILENAME&) { return false; }

} // namespace wobblix::platform
