#pragma once
// Resource ids of Orvane.dll, shared by its resource script and its code
// (macros, so that the resource compiler reads them too).

// The window class's icon; other programs may look for the engine's icon by this id.
#define ENGINE_ICON_ID 7002
