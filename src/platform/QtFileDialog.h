#pragma once

#include "platform/FileDialog.h"

namespace wobblix::platform {

// The open-file dialog, realised with Qt's own file dialog widget.
class QtFileDialog final : public FileDialog {
public:
    bool GetOpenFileName(OPENFILENAME& record) override;
};

} // namespace wobblix::platform
