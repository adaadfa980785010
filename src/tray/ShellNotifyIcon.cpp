#include "tray/ShellNotifyIcon.h"
