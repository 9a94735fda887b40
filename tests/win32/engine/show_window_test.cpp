// The built Orvane.dll as other programs meet it: its resources, its DPI awareness,
// and the single-instance rule between engine windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kSaverClass[] = L"WindowsScreenSaverClass";

// A program of the build: Orvane.dll, Orvane.scr.
std::wstring ProgramPath(const char* name) {
  const char* dir = std::getenv("ORVANE_BIN_DIR");
  std::string path = dir ? dir : ".";
  // The harness passes a Unix path; Wine sees the Unix root as drive Z:.
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  path += std::string("\\") + name;
  return std::wstring(path.begin(), path.end());
}

std::wstring EnginePath() { return ProgramPath("Orvane.dll"); }

std::vector<HWND> WindowsTitled(const wchar_t* title) {
  struct Search {
    const wchar_t* title;
    std::vector<HWND> found;
  } search{title, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        wchar_t text[64] = {};
        GetWindowTextW(hwnd, text, 64);
        if (std::wstring(text) == s->title) s->found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool WaitForWindows(const wchar_t* title, size_t count, DWORD ms) {
  const DWORD start = GetTickCount();
  while (WindowsTitled(title).size() < count) {
    if (GetTickCount() - start > ms) return false;
    Sleep(50);
  }
  return true;
}

// A started engine; ended by force if a test leaves it running.
class Engine {
 public:
  explicit Engine(const wchar_t* arguments = L"") {
    std::wstring commandLine = L"\"" + EnginePath() + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    started_ = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &info_) != FALSE;
  }
  ~Engine() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
      TerminateProcess(info_.hProcess, 99);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  bool Started() const { return started_; }
  // The exit code, or STILL_ACTIVE when it has not ended within ms.
  DWORD ExitCode(DWORD ms) {
    WaitForSingleObject(info_.hProcess, ms);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

 private:
  bool started_ = false;
  PROCESS_INFORMATION info_ = {};
};

TEST(EngineResources, IconStringAndManifest) {
  HMODULE module = LoadLibraryExW(EnginePath().c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr) << "cannot open Orvane.dll";

  EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(7002), MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */),
            nullptr);
  HANDLE icon = LoadImageW(module, MAKEINTRESOURCEW(7002), IMAGE_ICON, 32, 32, 0);
  EXPECT_NE(icon, nullptr);
  if (icon) DestroyIcon(static_cast<HICON>(icon));

  wchar_t text[32] = {};
  EXPECT_EQ(LoadStringW(module, 1, text, 32), 8);
  EXPECT_STREQ(text, L"SorvikVC");

  FreeLibrary(module);
}

void ExpectDpiAware(const std::wstring& path) {
  ACTCTXW request = {};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = path.c_str();
  request.lpResourceName = MAKEINTRESOURCEW(1);
  HANDLE context = CreateActCtxW(&request);
  ASSERT_NE(context, INVALID_HANDLE_VALUE) << "error " << GetLastError();

  wchar_t value[32] = {};
  SIZE_T written = 0;
  EXPECT_TRUE(QueryActCtxSettingsW(0, context, nullptr, L"dpiAware", value, 32, &written));
  EXPECT_STREQ(value, L"true");
  // Per monitor where Windows reads the newer setting, with system awareness after it.
  wchar_t awareness[64] = {};
  EXPECT_TRUE(QueryActCtxSettingsW(0, context,
                                   L"http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                                   L"dpiAwareness", awareness, 64, &written));
  EXPECT_STREQ(awareness, L"PerMonitorV2, system");
  ReleaseActCtx(context);
}

TEST(ProgramResources, ManifestsDeclareDpiAwareness) {
  // Read the way the loader reads it: a manifest it cannot parse would keep the program from
  // starting, and an unaware program is drawn small and stretched on a scaled display (the
  // engine's show, the settings dialog; the preview would not fill the display settings' area).
  for (const char* program : {"Orvane.dll", "Orvane.scr"}) {
    SCOPED_TRACE(program);
    ExpectDpiAware(ProgramPath(program));
  }
}

TEST(EngineWindow, SaverStillTitledScreensaverKeepsANewEngineOut) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kSaverClass;
  ASSERT_NE(RegisterClassW(&windowClass), 0);
  HWND saver = CreateWindowExW(0, kSaverClass, L"Screensaver", WS_POPUP | WS_VISIBLE, 0, 0, 200,
                               100, nullptr, nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(saver, nullptr);
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 300, 0, 200, 100,
                               nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(other);

  Engine engine(L"/s");
  ASSERT_TRUE(engine.Started());
  const DWORD code = engine.ExitCode(30000);
  // Keep this thread's windows answering while the engine brings ours forward.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);

  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(WindowsTitled(L"OrvaneVC").empty());
  EXPECT_EQ(GetForegroundWindow(), saver);

  DestroyWindow(other);
  DestroyWindow(saver);
  UnregisterClassW(kSaverClass, windowClass.hInstance);
}

TEST(EngineWindow, ClassAndWindowAsOtherProgramsSeeThem) {
  // What another program reads off the engine's window: its class and class style,
  // its exact styles and its place. (Wine answers no class icon, cursor or brush
  // across processes: the class test of the engine's own code checks those.)
  Engine engine;
  ASSERT_TRUE(WaitForWindows(L"OrvaneVC", 1, 30000));
  HWND window = WindowsTitled(L"OrvaneVC").front();
  // Retitled while it is being created; shown once the creation is done.
  const DWORD start = GetTickCount();
  while (!IsWindowVisible(window) && GetTickCount() - start < 30000) Sleep(50);

  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  EXPECT_STREQ(className, kSaverClass);
  EXPECT_EQ(GetClassLongPtrW(window, GCL_STYLE),
            static_cast<ULONG_PTR>(CS_VREDRAW | CS_HREDRAW | CS_OWNDC));
  EXPECT_EQ(GetClassLongPtrW(window, GCL_CBCLSEXTRA), 0u);
  EXPECT_EQ(GetClassLongPtrW(window, GCL_CBWNDEXTRA), 0u);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
            static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)),
            static_cast<DWORD>(WS_EX_TOPMOST));
  EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
  EXPECT_EQ(GetParent(window), nullptr);
  RECT r = {};
  GetWindowRect(window, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));

  PostMessageW(window, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(engine.ExitCode(15000), 0u);
}

TEST(EngineWindow, RunningEngineDoesNotKeepASecondOneOut) {
  // The first engine has already renamed its window, so the second opens its own.
  Engine first;
  ASSERT_TRUE(WaitForWindows(L"OrvaneVC", 1, 30000));
  Engine second;
  ASSERT_TRUE(WaitForWindows(L"OrvaneVC", 2, 30000));

  for (HWND window : WindowsTitled(L"OrvaneVC"))
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_EQ(first.ExitCode(15000), 0u);
  EXPECT_EQ(second.ExitCode(15000), 0u);
}

}  // namespace
