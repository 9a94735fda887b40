#include "dialog/win32_settings_dialog.h"

void ShowSettingsDialog(HINSTANCE) {}
