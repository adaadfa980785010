// SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/desktop/FileDialog.h"

namespace wobblix::platform {

// The open-file dialog, realised with Qt's own file dialog widget (never the desktop's native one, whose
// behaviour differs from desktop to desktop). Driven by the record:
// - modal, owned by hwndOwner, titled lpstrTitle, with the filters of lpstrFilter (lpstrFilter's
//   "Wave Sound Files" NUL "*.wav" is shown as "Wave Sound Files (*.wav)"), nFilterIndex chosen;
// - opening in lpstrInitialDir, where "c:\" is the root of the system drive (on a system without drive
//   letters, "/"), with the name of lpstrFile up to its first NUL, or an empty name box for blanks;
// - a name typed without an extension gets lpstrDefExt;
// - with OFN_CREATEPROMPT a name that does not exist is accepted only after the user has agreed, in the
//   dialog's own question, to create it; the file is not created, and "No" returns to the dialog;
// - with OFN_NODEREFERENCELINKS a symbolic link comes back as the link's own path;
// - a full path that does not fit lpstrFile with its NUL (more than nMaxFile - 1 bytes) ends the dialog
//   as a failure: false, the buffers untouched.
// On success the full path goes into lpstrFile and the name alone into lpstrFileTitle, each followed by
// a NUL, and nFileOffset, nFileExtension and nFilterIndex are written. The dialog runs a nested event loop,
// so the window's timers keep ticking while it is open.
class QtFileDialog final : public FileDialog {
public:
    bool GetOpenFileName(OPENFILENAMEA& record) override;
};

} // namespace wobblix::platform
