#pragma once
// How the program names files on Windows: through the ANSI entry points where
// the system code page (or the file's 8.3 short form) can name them, as files
// written by earlier versions were reached, and by their UTF-16 name where it
// cannot.
#include <functional>
#include <optional>
#include <string>

namespace orvane::common {

// The 8.3 short form of an existing path. Volumes with short names switched
// off (ReFS, Dev Drive, many data volumes) give the long path back; Wine
// always makes one. A function, so that tests can have a volume without them.
using ShortPathFunction = std::function<std::wstring(const std::wstring& path)>;

// GetShortPathNameW; empty when it fails (the path does not exist).
std::wstring SystemShortPath(const std::wstring& path);
// GetLongPathNameW: every part of an existing path in its long form; empty
// when it fails.
std::wstring SystemLongPath(const std::wstring& path);

// An ANSI name that the ANSI entry points open as `path`: the path itself
// when the code page holds it, else its short form when that is held. Nothing
// when neither is (a folder outside the code page on a volume without short
// names): only the UTF-16 name reaches the file then.
std::optional<std::string> AnsiNameOf(const std::wstring& path,
                                      const ShortPathFunction& shortPathOf = SystemShortPath);

// True only when the file opens for reading; a folder does not.
bool FileOpensForReading(const std::wstring& path);

}  // namespace orvane::common
