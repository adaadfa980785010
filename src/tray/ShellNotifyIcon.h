#pragma once

// The notification-icon record and the one global record.
namespace wobblix {

struct NOTIFYICONDATA {};

} // namespace wobblix
