// The program's entry: paths, language texts, stores, command line and single instance, then the
// main window for the life of the process.
#include <windows.h>

#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "app/app_paths.h"
#include "app/startup.h"
#include "app/win32/instance_platform_win32.h"
#include "app/win32/main_dialog.h"
#include "app/win32/shell_services.h"
#include "controls/handles.h"
#include "store/key_store.h"
#include "platform/read_once_ini_profile.h"
#include "platform/win32/ini_profile_win32.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/registry_profile.h"
#include "texts/language_file.h"
#include "texts/text_table.h"

namespace {

std::u16string ExecutablePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n < buffer.size()) return vendrel::controls::U16From(buffer.data());
    buffer.resize(buffer.size() * 2);
  }
}

std::vector<std::u16string> Arguments() {
  std::vector<std::u16string> args;
  int count = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (argv == nullptr) return args;
  for (int i = 1; i < count; ++i) args.push_back(vendrel::controls::U16From(argv[i]));
  ::LocalFree(argv);
  return args;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace vendrel;

  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  Gdiplus::GdiplusStartupInput gdiplus_input;
  ULONG_PTR gdiplus_token = 0;
  Gdiplus::GdiplusStartup(&gdiplus_token, &gdiplus_input, nullptr);

  // Everything below lives until the process ends; the device library's threads may use it.
  static const app::AppPaths paths = app::ComputeAppPaths(ExecutablePath());
  // The skin and language files are read once; every other file keeps the platform's own calls,
  // so that what the program writes is read back as written.
  static platform::Win32IniProfile system_ini;
  static platform::ReadOnceIniProfile ini(platform::win32::Win32FileSystem(), system_ini,
                                          app::ReadOnlyIniFiles(paths));
  texts::LoadTexts(ini, std::u16string(paths.language_file), texts::ProcessTextTable());
  static store::WorkingStore working;
  static store::DeviceStore device_store;

  static app::ShellFlags flags;
  static app::Win32InstancePlatform instance;
  const std::vector<std::u16string> args = Arguments();
  if (app::DecideStartup(args, paths, instance, flags.start) == app::StartupOutcome::Exit) {
    ::ExitProcess(0);
  }

  static platform::RegistryProfile registry(u"Orvane_Talmet");
  static app::ShellServices services(paths, ini, registry, working, device_store);
  auto* window = new app::COrvaneDlg(paths, ini, services, flags, instance);
  window->DoModal();

  ::InvalidateRect(nullptr, nullptr, TRUE);
  // The window's handle goes now; the object stays, because the device library's threads may
  // still report to it until the process ends here.
  ::DestroyWindow(window->Hwnd());
  ::ExitProcess(0);
}
