// Shared by the music sources only.
#pragma once

#include "music/music.h"

// The attached MCI port, or one that fails every command like an unknown device.
MciPort& AttachedMci();
