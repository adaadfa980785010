#include "sound/FileOpen.h"
