#include "sound/FileOpen.h"

namespace wobblix {

OPENFILENAME OFName;

} // namespace wobblix
