// The Windows back end of the music module (winmm). Free of <windows.h>.
#pragma once

// Attaches the platform's MCI and waveform sound to the music module. Call
// once at start, before the first music procedure.
void MusicAttachPlatform();
