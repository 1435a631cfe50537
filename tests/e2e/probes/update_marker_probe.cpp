// A stand-in update program: started by the update dialog, it writes "started" and the folder it
// was started in to update_marker.txt beside itself, then ends. No window, no console.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t self[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 1;
  std::wstring marker(self, n);
  marker.resize(marker.find_last_of(L"\\/") + 1);
  marker += L"update_marker.txt";

  wchar_t folder[MAX_PATH] = {};
  const DWORD f = GetCurrentDirectoryW(MAX_PATH, folder);
  std::string text = "started\n";
  for (DWORD i = 0; i < f && i < MAX_PATH; ++i) {
    text += folder[i] < 0x80 ? static_cast<char>(folder[i]) : '?';
  }
  text += "\n";

  HANDLE file = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == text.size() ? 0 : 1;
}
