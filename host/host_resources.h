#pragma once
// Resource ids of the host (4000-4999).
#define IDR_PREVIEW_JPEG 4001
