// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/desktop/FileDialog.h"

namespace wobblix::platform {

// The common open-file dialog of Windows, GetOpenFileName, driven by the record as it is given.
class SystemFileDialog final : public FileDialog {
public:
    bool GetOpenFileName(OPENFILENAMEA& record) override;
};

} // namespace wobblix::platform
