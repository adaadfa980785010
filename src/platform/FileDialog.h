#pragma once

namespace wobblix {
struct OPENFILENAME;
}

namespace wobblix::platform {

// The modal open-file dialog, driven by the open-file record: true when the user confirmed a file, whose
// full path is then in the record's file buffer; false on Cancel or failure, the buffers untouched.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    virtual bool GetOpenFileName(OPENFILENAME& record) = 0;
};

} // namespace wobblix::platform
