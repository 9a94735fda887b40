// Resource ids of Orvane.dll, shared by its resource script and its code.
#pragma once

// The window class's icon.
#define ENGINE_ICON_ID 7002
