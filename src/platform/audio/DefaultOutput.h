#pragma once

#include <QAudioDevice>

namespace wobblix::platform {

// The output the desktop sends sounds to at this moment. Qt 6.4 cannot be asked that: its PulseAudio back
// end marks a device as the default when the device appears and never again, so after the user switches
// (headphones plugged in) QMediaDevices::defaultAudioOutput() still names the old output. On Linux the
// sound server (PulseAudio, or PipeWire's PulseAudio service) is therefore asked for its default by name,
// over a connection of its own that is closed again at once; Qt's answer serves where it has none.
QAudioDevice defaultAudioOutput();

} // namespace wobblix::platform
