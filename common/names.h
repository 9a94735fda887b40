#pragma once
// Names both programs and other runs of them look for: window titles, the
// engine's file, the message box caption. Each is spelt here once; the wide
// forms are made from the same text.
#include <cstddef>

namespace orvane::common {

// An ASCII name widened at compile time for the W entry points.
template <std::size_t N>
struct WideName {
  wchar_t text[N];
  constexpr const wchar_t* Chars() const { return text; }
};
template <std::size_t N>
constexpr WideName<N> Widen(const char (&ascii)[N]) {
  WideName<N> wide{};
  for (std::size_t i = 0; i < N; ++i) wide.text[i] = static_cast<wchar_t>(ascii[i]);
  return wide;
}

// The engine's full-screen window.
inline constexpr char kEngineWindowTitle[] = "OrvaneVC";
// The hidden window of a running show.
inline constexpr char kShowWindowTitle[] = "Orvane_Main";
inline constexpr auto kShowWindowTitleW = Widen(kShowWindowTitle);
// The settings dialog.
inline constexpr char kDialogTitle[] = "<Orvane>";
inline constexpr auto kDialogTitleW = Widen(kDialogTitle);
// The engine program, after the host's folder.
inline constexpr char kEngineFileSuffix[] = "\\Orvane.dll";
inline constexpr auto kEngineFileSuffixW = Widen(kEngineFileSuffix);
// Caption of the host's message boxes.
inline constexpr char kMessageCaption[] = "Orvane (ScreenSaver)";
inline constexpr auto kMessageCaptionW = Widen(kMessageCaption);

}  // namespace orvane::common
