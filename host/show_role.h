#pragma once

namespace orvane::host {
// How the show was started. The command line names it by a letter that the
// entry reads by character position: "S" starts the screen saver (the pointer
// is hidden for the show); no arguments at all start the show as well.
enum class ShowRole { ScreenSaver, WithoutArguments };

}  // namespace orvane::host
