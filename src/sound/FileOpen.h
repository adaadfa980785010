#pragma once

// The open-file record and the one global record that both Browse buttons share.
namespace wobblix {

struct OPENFILENAME {};

} // namespace wobblix
