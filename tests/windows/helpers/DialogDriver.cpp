// Reads and drives the dialogs of another program in the same Wine prefix, as a
// user would: finds a dialog by its caption, lists its controls, presses buttons.
//
//   dialog_driver show CAPTION [TIMEOUT_MS]     waits for the dialog, prints it (below)
//   dialog_driver click CAPTION ID              presses the button (BM_CLICK)
//   dialog_driver command CAPTION ID            sends WM_COMMAND ID (IDCANCEL = 2 is Escape)
//   dialog_driver close CAPTION                 the title bar's close button (SC_CLOSE)
//   dialog_driver position CAPTION              prints the progress bar 1010's position
//   dialog_driver gone CAPTION [TIMEOUT_MS]     waits until no such dialog is left
//
// "show" prints the style of the dialog, then one line per control in window order:
// id, class, style (hex), checked state, text; tab-separated, UTF-8. Exit code 0 on
// success, 2 when the dialog did not come (or go) in time, 1 for a usage error.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD kDefaultTimeoutMs = 20000;
constexpr const wchar_t* kDialogClass = L"#32770";

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, nullptr);
  // Keep one control per line.
  for (char& c : bytes) {
    if (c == '\n') c = '|';
    if (c == '\r' || c == '\t') c = ' ';
  }
  return bytes;
}

// The window's text, asked of its own thread (WM_GETTEXT crosses processes).
std::wstring TextOf(HWND window) {
  const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(copied));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = L"";
  GetClassNameW(window, name, 256);
  return name;
}

HWND WaitForDialog(const wchar_t* caption, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (HWND dialog = FindWindowW(kDialogClass, caption); dialog && IsWindowVisible(dialog))
      return dialog;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(100);
  }
}

BOOL CALLBACK AddChild(HWND child, LPARAM list) {
  // Only the dialog's own controls, not those of nested windows.
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

void PrintDialog(HWND dialog) {
  std::printf("dialog\t%08lx\t%s\n", static_cast<unsigned long>(GetWindowLongW(dialog, GWL_STYLE)),
              Utf8(TextOf(dialog)).c_str());
  std::vector<HWND> children;
  EnumChildWindows(dialog, AddChild, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    if (GetParent(child) != dialog) continue;
    const std::wstring className = ClassOf(child);
    const bool isButton = _wcsicmp(className.c_str(), L"Button") == 0;
    const LRESULT checked = isButton ? SendMessageW(child, BM_GETCHECK, 0, 0) : 0;
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    std::printf("%d\t%s\t%08lx\t%d\t%s\n",
                static_cast<int>(static_cast<short>(GetDlgCtrlID(child))), Utf8(className).c_str(),
                static_cast<unsigned long>(style), static_cast<int>(checked),
                Utf8(TextOf(child)).c_str());
  }
  std::fflush(stdout);
}

int Usage() {
  std::fprintf(stderr,
               "usage: dialog_driver show|click|command|close|position|gone CAPTION [ARG]\n");
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return Usage();
  const std::wstring verb = argv[1];
  const wchar_t* caption = argv[2];
  const auto number = [&](int index, DWORD fallback) {
    return argc > index ? static_cast<DWORD>(std::wcstoul(argv[index], nullptr, 10)) : fallback;
  };

  if (verb == L"gone") {
    const DWORD timeoutMs = number(3, kDefaultTimeoutMs);
    const DWORD start = GetTickCount();
    while (FindWindowW(kDialogClass, caption)) {
      if (GetTickCount() - start >= timeoutMs) return 2;
      Sleep(100);
    }
    return 0;
  }

  const DWORD timeoutMs = verb == L"show" ? number(3, kDefaultTimeoutMs) : kDefaultTimeoutMs;
  HWND dialog = WaitForDialog(caption, timeoutMs);
  if (!dialog) {
    std::fprintf(stderr, "dialog_driver: no dialog \"%s\"\n", Utf8(caption).c_str());
    return 2;
  }
  if (verb == L"show") {
    PrintDialog(dialog);
  } else if (verb == L"click" && argc > 3) {
    HWND button = GetDlgItem(dialog, static_cast<int>(std::wcstol(argv[3], nullptr, 10)));
    if (!button) return 2;
    // Posted, as a mouse click arrives: the dialog may end or open others meanwhile.
    PostMessageW(button, BM_CLICK, 0, 0);
  } else if (verb == L"command" && argc > 3) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(std::wcstol(argv[3], nullptr, 10), 0), 0);
  } else if (verb == L"close") {
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  } else if (verb == L"position") {
    HWND bar = GetDlgItem(dialog, 1010);
    if (!bar) return 2;
    std::printf("%ld\n", static_cast<long>(SendMessageW(bar, PBM_GETPOS, 0, 0)));
  } else {
    return Usage();
  }
  return 0;
}
