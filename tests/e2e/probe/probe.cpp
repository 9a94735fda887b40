// orvane_probe: looks at windows from the Windows side for the e2e scenarios.
//
//   find TITLE                 hwnd, class, rect, styles, visibility, owning process
//   exists TITLE               exit code 0 when a top-level window has that title
//   post-close TITLE           posts WM_CLOSE to it
//   post TITLE MSG [WP [LP]]   posts any message (numbers in decimal or 0x hex)
//   wait-gone TITLE MS         exit code 0 once no such window exists
//   wait-window TITLE MS       exit code 0 once such a window exists
//   children TITLE             one line per child window (class, title, rect)
//   control TITLE ID|CAPTION   "x y w h" on the screen of the child window with that control id
//                              (decimal) or caption; exit code 1 when there is none
//   client TITLE               "x y w h" of the window's client area on the screen
//   acc TITLE ID|CAPTION|-     what a screen reader hears from that control (- the window itself):
//                              a line per element, the control first ("child=0"), then each
//                              painted part: "child=N role=R state=0xS action=A name=T value=V"
//   acc-do TITLE ID|CAPTION|- [CHILD]   the element's default action through the same interface
//   monitors                   one line per monitor: "NAME LEFT,TOP-RIGHT,BOTTOM [primary]"
//   acp                        the ANSI code page
//   foreground                 the title of the foreground window (empty when there is none)
//   screen                     the primary screen size in pixels
//   version FILE               the file's version resource: fixed versions, then Name=value lines
//   link FILE.lnk              the shortcut as the shell reads it: target=, arguments=, icon= lines
//   stats TITLE                resources of the process that owns the window: working set and
//                              private bytes, kernel handles, GDI and USER objects (-1 where
//                              the platform does not count them) and its windows
#include <windows.h>

#include <ole2.h>
#include <oleacc.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::string Narrow(const wchar_t* text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  return out;
}

void Describe(HWND hwnd) {
  wchar_t cls[256] = {}, title[256] = {};
  GetClassNameW(hwnd, cls, 256);
  GetWindowTextW(hwnd, title, 256);
  RECT r{};
  GetWindowRect(hwnd, &r);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  std::printf(
      "hwnd=0x%llx class=%s title=%s x=%ld y=%ld w=%ld h=%ld style=0x%08lx exstyle=0x%08lx "
      "visible=%d "
      "pid=%lu parent=0x%llx\n",
      (unsigned long long)(UINT_PTR)hwnd, Narrow(cls).c_str(), Narrow(title).c_str(), r.left, r.top,
      r.right - r.left, r.bottom - r.top, (unsigned long)GetWindowLongW(hwnd, GWL_STYLE),
      (unsigned long)GetWindowLongW(hwnd, GWL_EXSTYLE), IsWindowVisible(hwnd) ? 1 : 0,
      (unsigned long)pid, (unsigned long long)(UINT_PTR)GetParent(hwnd));
}

BOOL CALLBACK PrintChild(HWND hwnd, LPARAM) {
  Describe(hwnd);
  return TRUE;
}

// The version resource as Windows reads it: the fixed file and product
// versions, then the strings of the first translation.
int PrintVersion(const wchar_t* file) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(file, &ignored);
  if (size == 0) return 1;
  std::string data(size, '\0');
  if (!GetFileVersionInfoW(file, 0, size, data.data())) return 1;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &len) || !fixed)
    return 1;
  std::printf("Fixed=%lu.%lu.%lu.%lu Product=%lu.%lu.%lu.%lu\n", fixed->dwFileVersionMS >> 16,
              fixed->dwFileVersionMS & 0xFFFF, fixed->dwFileVersionLS >> 16,
              fixed->dwFileVersionLS & 0xFFFF, fixed->dwProductVersionMS >> 16,
              fixed->dwProductVersionMS & 0xFFFF, fixed->dwProductVersionLS >> 16,
              fixed->dwProductVersionLS & 0xFFFF);
  WORD* translation = nullptr;
  if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &len) ||
      len < 4)
    return 1;
  for (const wchar_t* name :
       {L"FileDescription", L"FileVersion", L"ProductName", L"ProductVersion", L"LegalCopyright"}) {
    wchar_t path[128];
    swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translation[0], translation[1], name);
    wchar_t* value = nullptr;
    if (VerQueryValueW(data.data(), path, reinterpret_cast<void**>(&value), &len) && value)
      std::printf("%s=%s\n", Narrow(name).c_str(), Narrow(value).c_str());
  }
  return 0;
}

struct WindowCount {
  DWORD pid;
  int count;
};

BOOL CALLBACK CountChild(HWND hwnd, LPARAM lp) {
  auto* c = reinterpret_cast<WindowCount*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == c->pid) ++c->count;
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND hwnd, LPARAM lp) {
  CountChild(hwnd, lp);
  EnumChildWindows(hwnd, CountChild, lp);
  return TRUE;
}

// GetGuiResources, or -1 where it is only a stub (Wine answers 0 with ERROR_CALL_NOT_IMPLEMENTED).
long GuiObjects(HANDLE process, DWORD kind) {
  SetLastError(0);
  DWORD n = GetGuiResources(process, kind);
  return n == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED ? -1 : static_cast<long>(n);
}

// The system's handle table (information class 16), one entry per open handle.
struct HandleEntry {
  ULONG ownerPid;
  BYTE objectType;
  BYTE flags;
  USHORT value;
  PVOID object;
  ULONG access;
};

// Kernel handles the process holds. GetProcessHandleCount answers 0 for other processes under
// Wine, while the system handle table is complete there; -1 when neither can say.
long KernelHandles(HANDLE process, DWORD pid) {
  std::vector<unsigned char> buffer(1 << 16);
  for (int tries = 0; tries < 12; ++tries) {
    ULONG needed = 0;
    NTSTATUS status = NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(16),
                                               buffer.data(), (ULONG)buffer.size(), &needed);
    if (status == static_cast<NTSTATUS>(0xC0000004L)) {  // STATUS_INFO_LENGTH_MISMATCH
      buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
      continue;
    }
    if (status != 0) break;
    ULONG count = *reinterpret_cast<ULONG*>(buffer.data());
    auto* entries = reinterpret_cast<HandleEntry*>(buffer.data() + sizeof(ULONG_PTR));
    long n = 0;
    for (ULONG i = 0; i < count; ++i) n += entries[i].ownerPid == pid;
    return n;
  }
  DWORD handles = 0;
  return GetProcessHandleCount(process, &handles) && handles > 0 ? (long)handles : -1;
}

int PrintStats(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) {
    std::fprintf(stderr, "cannot open process %lu\n", (unsigned long)pid);
    return 1;
  }
  PROCESS_MEMORY_COUNTERS_EX mem{};
  mem.cb = sizeof mem;
  GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&mem), sizeof mem);
  const long handles = KernelHandles(process, pid);
  WindowCount windows{pid, 0};
  EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&windows));
  std::printf("pid=%lu workingset=%llu private=%llu handles=%ld gdi=%ld user=%ld windows=%d\n",
              (unsigned long)pid, (unsigned long long)mem.WorkingSetSize,
              (unsigned long long)mem.PrivateUsage, handles, GuiObjects(process, GR_GDIOBJECTS),
              GuiObjects(process, GR_USEROBJECTS), windows.count);
  CloseHandle(process);
  return 0;
}

struct ControlSearch {
  std::wstring wanted;
  int id;  // -1: match the caption
  HWND found;
};

BOOL CALLBACK MatchControl(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<ControlSearch*>(param);
  wchar_t title[256] = {};
  GetWindowTextW(hwnd, title, 256);
  const bool match = search->id >= 0 ? GetDlgCtrlID(hwnd) == search->id : search->wanted == title;
  if (!match) return TRUE;
  search->found = hwnd;
  return FALSE;
}

// Scenarios click controls by name, so a moved control fails loudly instead of
// taking a click meant for it somewhere else.
HWND FindControl(HWND parent, const wchar_t* name) {
  ControlSearch search{name, -1, nullptr};
  wchar_t* end = nullptr;
  const long id = std::wcstol(name, &end, 10);
  if (*name && end && *end == L'\0') search.id = static_cast<int>(id);
  EnumChildWindows(parent, MatchControl, reinterpret_cast<LPARAM>(&search));
  if (!search.found) std::fprintf(stderr, "control not found: %s\n", Narrow(name).c_str());
  return search.found;
}

int PrintControl(HWND parent, const wchar_t* name) {
  HWND control = FindControl(parent, name);
  if (!control) return 1;
  RECT r{};
  GetWindowRect(control, &r);
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  return 0;
}

int PrintClient(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, r.right, r.bottom);
  return 0;
}

BOOL CALLBACK PrintMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
  MONITORINFOEXW info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;
  const RECT& r = info.rcMonitor;
  std::printf("%s %ld,%ld-%ld,%ld%s\n", Narrow(info.szDevice).c_str(), r.left, r.top, r.right,
              r.bottom, (info.dwFlags & MONITORINFOF_PRIMARY) ? " primary" : "");
  return TRUE;
}

long long Number(const wchar_t* text) { return std::wcstoll(text, nullptr, 0); }

// The interface id spelled out: the import library's symbol is no GUID under static linking.
constexpr GUID kIidAccessible{
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// The client-area object of a window, as a screen reader asks for it.
IAccessible* AccessibleOf(HWND window) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IAccessible* object = nullptr;
  const HRESULT hr = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                                kIidAccessible, reinterpret_cast<void**>(&object));
  if (FAILED(hr) || !object) {
    std::fprintf(stderr, "no accessible object (0x%08lx)\n", static_cast<unsigned long>(hr));
    return nullptr;
  }
  return object;
}

// One text of an element (name, value or default action); empty when it has none.
template <typename Getter>
std::string TextOf(IAccessible* object, Getter getter, const VARIANT& child) {
  BSTR text = nullptr;
  const HRESULT hr = (object->*getter)(child, &text);
  std::string out = SUCCEEDED(hr) && text ? Narrow(text) : std::string();
  SysFreeString(text);
  return out;
}

void PrintElement(IAccessible* object, long id) {
  VARIANT child;
  VariantInit(&child);
  child.vt = VT_I4;
  child.lVal = id;
  VARIANT role, state;
  VariantInit(&role);
  VariantInit(&state);
  object->get_accRole(child, &role);
  object->get_accState(child, &state);
  const std::string nameText = TextOf(object, &IAccessible::get_accName, child);
  const std::string valueText = TextOf(object, &IAccessible::get_accValue, child);
  const std::string actionText = TextOf(object, &IAccessible::get_accDefaultAction, child);
  std::printf("child=%ld role=%ld state=0x%lx action=%s name=%s value=%s\n", id,
              role.vt == VT_I4 ? role.lVal : -1L, state.vt == VT_I4 ? state.lVal : 0L,
              actionText.c_str(), nameText.c_str(), valueText.c_str());
  VariantClear(&role);
  VariantClear(&state);
}

// The control, then its painted parts (children that have no object of their own).
int PrintAccessible(HWND window) {
  IAccessible* object = AccessibleOf(window);
  if (!object) return 1;
  PrintElement(object, CHILDID_SELF);
  long count = 0;
  object->get_accChildCount(&count);
  for (long id = 1; id <= count; ++id) {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    IDispatch* own = nullptr;
    if (object->get_accChild(child, &own) == S_OK && own) {
      own->Release();
      continue;
    }
    PrintElement(object, id);
  }
  object->Release();
  return 0;
}

int DoDefaultAction(HWND window, long id) {
  IAccessible* object = AccessibleOf(window);
  if (!object) return 1;
  VARIANT child;
  VariantInit(&child);
  child.vt = VT_I4;
  child.lVal = id;
  const HRESULT hr = object->accDoDefaultAction(child);
  object->Release();
  if (FAILED(hr)) std::fprintf(stderr, "default action failed (0x%08lx)\n", (unsigned long)hr);
  return SUCCEEDED(hr) ? 0 : 1;
}

bool WaitFor(const wchar_t* title, long ms, bool present) {
  DWORD start = GetTickCount();
  for (;;) {
    bool found = FindWindowW(nullptr, title) != nullptr;
    if (found == present) return true;
    if (static_cast<long>(GetTickCount() - start) >= ms) return false;
    Sleep(20);
  }
}

int PrintLink(const wchar_t* file) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  IShellLinkW* link = nullptr;
  IPersistFile* persist = nullptr;
  int rc = 1;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
      SUCCEEDED(persist->Load(file, STGM_READ))) {
    wchar_t target[MAX_PATH] = {}, arguments[1024] = {}, icon[MAX_PATH] = {};
    int iconIndex = 0;
    // SLGP_RAWPATH: the target as stored, not resolved against this machine.
    link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetArguments(arguments, 1024);
    link->GetIconLocation(icon, MAX_PATH, &iconIndex);
    std::printf("target=%s\narguments=%s\nicon=%s,%d\n", Narrow(target).c_str(),
                Narrow(arguments).c_str(), Narrow(icon).c_str(), iconIndex);
    rc = 0;
  }
  if (persist) persist->Release();
  if (link) link->Release();
  CoUninitialize();
  return rc;
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 2) {
    std::fprintf(
        stderr,
        "usage: orvane_probe "
        "find|exists|post-close|post|wait-gone|wait-window|children|control|client|acc|acc-do|"
        "stats|acp|foreground|screen|monitors|version|link ...\n");
    return 2;
  }
  std::wstring cmd = argv[1];
  if (cmd == L"acp") {
    std::printf("%u\n", GetACP());
    return 0;
  }
  if (cmd == L"foreground") {
    wchar_t text[256] = {};
    if (HWND front = GetForegroundWindow()) GetWindowTextW(front, text, 256);
    std::printf("%s\n", Narrow(text).c_str());
    return 0;
  }
  if (cmd == L"screen") {
    std::printf("%d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return 0;
  }
  if (cmd == L"monitors") return EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0) ? 0 : 1;
  if (argc < 3) return 2;
  if (cmd == L"version") return PrintVersion(argv[2]);
  if (cmd == L"link") return PrintLink(argv[2]);
  const wchar_t* title = argv[2];
  if (cmd == L"wait-gone")
    return WaitFor(title, argc > 3 ? (long)Number(argv[3]) : 5000, false) ? 0 : 1;
  if (cmd == L"wait-window")
    return WaitFor(title, argc > 3 ? (long)Number(argv[3]) : 5000, true) ? 0 : 1;

  HWND hwnd = FindWindowW(nullptr, title);
  if (!hwnd) {
    std::fprintf(stderr, "no window titled %s\n", Narrow(title).c_str());
    return 1;
  }
  if (cmd == L"exists") return 0;
  if (cmd == L"find") {
    Describe(hwnd);
    return 0;
  }
  if (cmd == L"stats") return PrintStats(hwnd);
  if (cmd == L"children") {
    EnumChildWindows(hwnd, PrintChild, 0);
    return 0;
  }
  if (cmd == L"control" && argc >= 4) return PrintControl(hwnd, argv[3]);
  if ((cmd == L"acc" || cmd == L"acc-do") && argc >= 4) {
    HWND control = std::wcscmp(argv[3], L"-") == 0 ? hwnd : FindControl(hwnd, argv[3]);
    if (!control) return 1;
    if (cmd == L"acc") return PrintAccessible(control);
    return DoDefaultAction(control, argc > 4 ? static_cast<long>(Number(argv[4])) : 0);
  }
  if (cmd == L"client") return PrintClient(hwnd);
  if (cmd == L"post-close") return PostMessageW(hwnd, WM_CLOSE, 0, 0) ? 0 : 1;
  if (cmd == L"post" && argc >= 4) {
    WPARAM wp = argc > 4 ? (WPARAM)Number(argv[4]) : 0;
    LPARAM lp = argc > 5 ? (LPARAM)Number(argv[5]) : 0;
    return PostMessageW(hwnd, (UINT)Number(argv[3]), wp, lp) ? 0 : 1;
  }
  return 2;
}
