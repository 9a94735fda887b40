// The settings dialog's window: its load handler, its commands (choose a
// file, save, cancel, the home page) and its message loop.
#include "dialog/win32_settings_dialog.h"

#include "common/names.h"
#include "common/win32_text.h"
#include "dialog/dialog_resources.h"
#include "dialog/music_choice.h"
#include "dialog/win32_dialog_parts.h"
#include "dialog/win32_settings_dialog_testing.h"
#include "dialog/win32_shell_open.h"
#include "widgets/win32_command.h"

#include <commdlg.h>
#include <shellapi.h>

#include <optional>
#include <string>

namespace orvane::dialog {

using common::kAnsiCodePage;
using common::Widen;
using widgets::CommandInitialize;

namespace {

using common::kAnsiCodePage;
using common::Widen;

constexpr wchar_t kDialogClass[] = L"Orvane_P";
// The page "その他の作品" opens.
constexpr char kHomePage[] = "https://orvane.example.org/";

constexpr DWORD kDialogStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
// Sent when the window moves to a monitor of another density (Windows 8.1 on); the headers
// of the oldest Windows the program runs on do not name it.
constexpr UINT kDpiChanged = 0x02E0;

// The window's outer size for the stored client area at `dpi`: the frame and caption as the
// system draws them at that density where it can say (Windows 10 1607 on).
SIZE FrameSize(int dpi) {
  const PixelRect client = ToPixels(kClient, dpi);
  RECT frame{0, 0, client.width, client.height};
  using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto kAdjustForDpi = reinterpret_cast<AdjustForDpiFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  if (!kAdjustForDpi || !kAdjustForDpi(&frame, kDialogStyle, FALSE, 0, static_cast<UINT>(dpi)))
    AdjustWindowRectEx(&frame, kDialogStyle, FALSE, 0);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

struct CreateParams {
  HINSTANCE instance;
  DialogEnvironment* env;
};

void SetFileLabel(Dialog& d, const std::string& path) {
  d.fileLabel = Widen(path, kAnsiCodePage);
  const RECT r = ToRect(PlaceOf(d, kFileNameLabel));
  InvalidateRect(d.panel, &r, FALSE);
}

// The caption zooms out of the saved cursor point on opening and back into it on closing.
void Zoom(const Dialog& d, bool opening) {
  const RECT point{d.savedCursorX, d.savedCursorY, d.savedCursorX, d.savedCursorY};
  RECT window;
  GetWindowRect(d.window, &window);
  DrawAnimatedRects(d.window, IDANI_CAPTION, opening ? &point : &window,
                    opening ? &window : &point);
}

void SetBusyCursor(Dialog& d, bool busy) {
  d.busyCursor = busy;
  SetCursor(LoadCursorA(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void Load(Dialog& d) {
  RECT frame;
  GetWindowRect(d.window, &frame);
  const Point place = DialogPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                     frame.right - frame.left, frame.bottom - frame.top);
  SetWindowPos(d.window, nullptr, place.x, place.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  for (HWND button : {d.cancelButton, d.saveButton, d.browseButton, d.otherWorksButton}) {
    if (button) CommandInitialize(button);
  }
  ShowMusicMode(d);

  SetWindowTextW(d.repeat,
                 Widen(RepeatBoxText(d.env->settings->repeatTrack), kAnsiCodePage).c_str());
  for (const std::string& entry : RepeatBoxList()) {
    SendMessageW(d.repeat, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(Widen(entry, kAnsiCodePage).c_str()));
  }
  SetFileLabel(d, d.env->settings->musicFile);

  POINT pointer{0, 0};
  if (!GetCursorPos(&pointer)) pointer = {0, 0};
  d.savedCursorX = static_cast<int16_t>(pointer.x);
  d.savedCursorY = static_cast<int16_t>(pointer.y);
  Zoom(d, true);
  SetBusyCursor(d, false);
}

void Unload(Dialog& d) {
  Zoom(d, false);
  DestroyWindow(d.window);
}

// The longest value the settings file gives back whole.
constexpr int kMaxPath = 255;
// Room for the path the file dialog hands back. Larger than any path the
// settings can keep, so that a longer one reaches the "too long" message
// instead of failing in the file dialog like a Cancel.
constexpr DWORD kFileBufferChars = 1024;

void ChooseMusicFile(Dialog& d) {
  // Shown through the wide entry point so that they read right whatever the
  // system's code page; c_str() adds the filter's closing second NUL.
  std::wstring filter = L"BGMﾌｧｲﾙ (MP3 WAV)";
  filter.push_back(L'\0');
  filter += L"*.MP3;*.WAV";
  filter.push_back(L'\0');
  std::wstring fileName(kFileBufferChars, L'\0');
  std::wstring fileTitle(kFileBufferChars, L'\0');

  // The structure as it was before later platform versions extended it.
  OPENFILENAMEW request{};
  request.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  request.hwndOwner = d.window;
  request.hInstance = d.instance;
  request.lpstrFilter = filter.c_str();
  request.nFilterIndex = 0;
  // Each size is its buffer's, counted in characters with the closing NUL.
  request.lpstrFile = fileName.data();
  request.nMaxFile = kFileBufferChars;
  request.lpstrFileTitle = fileTitle.data();
  request.nMaxFileTitle = kFileBufferChars;
  request.lpstrTitle = L"ﾌｧｲﾙを開く";
  request.Flags = 0;
  const BOOL chosen =
      d.env->openFileDialog ? d.env->openFileDialog(request) : GetOpenFileNameW(&request);
  if (chosen <= 0) return;
  fileName.back() = L'\0';
  fileName.resize(fileName.find(L'\0'));

  // The path is kept and played through the ANSI entry points: one that the
  // code page cannot hold, or that would come back cut, is not stored.
  const std::optional<std::string> path = common::ToAnsiExactly(fileName);
  if (!path) {
    d.env->report(d.window, L"この ﾌｧｲﾙ は選べません。\n\n" + fileName +
                                L"\n\nﾌｧｲﾙ名 に、このｼｽﾃﾑ の文字ｺｰﾄﾞ で書けない文字が"
                                L"含まれています。ﾌｧｲﾙ名 を変えてから選んでください。");
    return;
  }
  if (path->size() > static_cast<size_t>(kMaxPath)) {
    d.env->report(d.window,
                  L"この ﾌｧｲﾙ は選べません。\n\n" + fileName +
                      L"\n\nﾊﾟｽ が長すぎます。短いﾊﾟｽ のﾌｫﾙﾀﾞ に置いてから選んでください。");
    return;
  }
  d.env->settings->musicFile = *path;
  SetFileLabel(d, d.env->settings->musicFile);
}

void Save(Dialog& d) {
  const std::string repeatText = common::ToUtf8(WindowText(d.repeat));
  const SaveOutcome outcome =
      SaveMusicChoice(*d.env->settings, repeatText, *d.env->store, d.env->settingsFile);
  switch (outcome.kind) {
    case SaveOutcome::kSaved:
      Unload(d);
      return;
    case SaveOutcome::kRepeatOutOfRange:
      d.env->report(d.window,
                    L"曲目をﾘﾋﾟｰﾄ の番号は -32768 から 32767 までの数にしてください。\n"
                    L"設定は保存されていません。");
      if (IsWindowEnabled(d.repeat)) {
        SetFocus(d.repeat);
        SendMessageW(d.repeat, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
      }
      return;
    case SaveOutcome::kWriteFailed:
      d.env->report(d.window, L"設定を保存できませんでした。\n\n" +
                                  common::FromUtf8(outcome.failedFile) +
                                  L"\n\nﾌｧｲﾙが書き込み禁止になっていないか確かめてください。");
      return;
  }
}

void OpenHomePage(Dialog& d) {
  SetBusyCursor(d, true);
  OpenWithShell(d.window, kHomePage, d.env->shellExecute ? d.env->shellExecute : ShellExecuteA);
  SetBusyCursor(d, false);
}

void OnCommand(Dialog& d, int id, int code) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDC_BROWSE_BUTTON:
      ChooseMusicFile(d);
      break;
    case IDC_SAVE_BUTTON:
      Save(d);
      break;
    case IDC_CANCEL_BUTTON:
      Unload(d);
      break;
    case IDC_OTHER_WORKS_BUTTON:
      OpenHomePage(d);
      break;
    default:
      break;
  }
}

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  Dialog* d = DialogOf(window);
  if (!d) return DefWindowProcW(window, message, wParam, lParam);
  if (LRESULT done; HandlePanelAccessible(*d, message, wParam, lParam, done)) return done;
  if (LRESULT done; HandlePanelSurface(*d, window, message, wParam, done)) return done;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN: {
      SetFocus(window);
      const int choice =
          ModeAt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)), d->dpi);
      if (choice >= 0) ChooseMusicMode(*d, ModeAtPanelIndex(choice));
      return message == WM_XBUTTONDOWN ? TRUE : 0;
    }
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidatePanelFocusCue(*d);
      return 0;
    case WM_KEYDOWN:
      // The arrows move the choice, as in a group of radio buttons.
      if (wParam == VK_UP || wParam == VK_LEFT || wParam == VK_DOWN || wParam == VK_RIGHT) {
        ChooseMusicMode(*d, NextModeOnScreen(d->env->settings->musicMode,
                                             wParam == VK_DOWN || wParam == VK_RIGHT));
        return 0;
      }
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_COMMAND:  // from the browse button and the repeat box: the dialog handles them
      return SendMessageW(d->window, message, wParam, lParam);
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* params =
        static_cast<const CreateParams*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    auto* d = new Dialog;
    d->instance = params->instance;
    d->env = params->env;
    d->window = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(d));
  }
  Dialog* d = DialogOf(window);
  if (!d) return DefWindowProcW(window, message, wParam, lParam);
  if (LRESULT done; HandleDialogSurface(*d, window, message, wParam, done)) return done;
  switch (message) {
    case WM_CREATE:
      CreateControls(*d);
      return d->panel && d->repeat ? 0 : -1;
    case WM_COMMAND:
      OnCommand(*d, LOWORD(wParam), HIWORD(wParam));
      return 0;
    case kDpiChanged: {
      // Laid out again at the new density, in the place the system suggests for it.
      if (LOWORD(wParam) > 0) d->dpi = LOWORD(wParam);
      LayOutControls(*d);
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      if (suggested) {
        SetWindowPos(window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      }
      return 0;
    }
    case WM_CLOSE:
      Unload(*d);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(window, focus)) d->lastFocus = focus;
      } else {
        HWND target = d->lastFocus && IsWindow(d->lastFocus) && IsWindowEnabled(d->lastFocus)
                          ? d->lastFocus
                          : d->panel;
        SetFocus(target);
      }
      return 0;
    case WM_SETCURSOR:
      if (d->busyCursor) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        return TRUE;
      }
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      if (d->bigIcon) DestroyIcon(d->bigIcon);
      if (d->smallIcon) DestroyIcon(d->smallIcon);
      delete d;
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

bool RegisterClasses(HINSTANCE instance) {
  WNDCLASSEXW dialog{};
  dialog.cbSize = sizeof dialog;
  dialog.lpfnWndProc = DialogProc;
  dialog.hInstance = instance;
  dialog.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  dialog.lpszClassName = kDialogClass;
  WNDCLASSEXW panel = dialog;
  panel.lpfnWndProc = PanelProc;
  panel.lpszClassName = kPanelClass;
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  for (const WNDCLASSEXW* c : {&dialog, &panel}) {
    if (!GetClassInfoExW(instance, c->lpszClassName, &existing) && !RegisterClassExW(c))
      return false;
  }
  return true;
}

}  // namespace

HWND OpenSettingsDialog(HINSTANCE instance, DialogEnvironment* env) {
  if (!RegisterClasses(instance)) return nullptr;
  const SIZE frame = FrameSize(common::kDefaultDpi);
  CreateParams params{instance, env};
  HWND window =
      CreateWindowExW(0, kDialogClass, common::kDialogTitleW.Chars(), kDialogStyle, CW_USEDEFAULT,
                      CW_USEDEFAULT, frame.cx, frame.cy, nullptr, nullptr, instance, &params);
  if (!window) return nullptr;
  Dialog& d = *DialogOf(window);
  // The controls were made at the window's density; the window follows.
  if (d.dpi != common::kDefaultDpi) {
    const SIZE scaled = FrameSize(d.dpi);
    SetWindowPos(window, nullptr, 0, 0, scaled.cx, scaled.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Load(d);
  ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
  UpdateWindow(window);
  return window;
}

void RunSettingsDialog(HWND dialog) {
  MSG msg;
  while (IsWindow(dialog)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // Someone asked the program to end: close the dialog without saving and pass it on.
      if (IsWindow(dialog)) DestroyWindow(dialog);
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (HandleDialogKey(dialog, msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool HandleDialogKey(HWND dialog, const MSG& msg) {
  if (msg.message != WM_KEYDOWN || (msg.wParam != VK_TAB && msg.wParam != VK_ESCAPE)) return false;
  if (msg.hwnd != dialog && !IsChild(dialog, msg.hwnd)) return false;
  const Dialog* d = DialogOf(dialog);
  // The open list of the repeat box keeps these keys: Esc closes the list, not the dialog.
  if (!d || SendMessageW(d->repeat, CB_GETDROPPEDSTATE, 0, 0)) return false;
  if (msg.wParam == VK_TAB) {
    MoveFocus(*d, GetKeyState(VK_SHIFT) >= 0);
  } else {
    // Esc is ｷｬﾝｾﾙ, wherever the focus is (the dialog is gone afterwards).
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_CANCEL_BUTTON, BN_CLICKED),
                 reinterpret_cast<LPARAM>(d->cancelButton));
  }
  return true;
}

int SelectedIndicator(HWND dialog) {
  const Dialog* d = DialogOf(dialog);
  return d ? LookForMode(d->env->settings->musicMode).selectedIndicator : -1;
}

POINT SavedCursor(HWND dialog) {
  const Dialog* d = DialogOf(dialog);
  return d ? POINT{d->savedCursorX, d->savedCursorY} : POINT{0, 0};
}

std::wstring FileLabelText(HWND dialog) {
  const Dialog* d = DialogOf(dialog);
  return d ? d->fileLabel : std::wstring();
}

}  // namespace orvane::dialog
