#include "app/win32/instance_platform_win32.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <string>

#include "app/window_messages.h"

namespace vendrel::app {
namespace {

using controls::WideFrom;

struct SignalSearch {
  DWORD process_id;
  UINT message;
  WPARAM tag;
};

BOOL CALLBACK SignalFirstTaggedWindow(HWND hwnd, LPARAM data) {
  auto* search = reinterpret_cast<SignalSearch*>(data);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(hwnd, &owner);
  if (owner != search->process_id) return TRUE;
  if (static_cast<std::uint32_t>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA)) != kTagMain) return TRUE;
  DWORD_PTR result = 0;
  // A hung instance must not hang the starting one forever.
  ::SendMessageTimeoutW(hwnd, search->message, search->tag, 0, SMTO_NORMAL, 10000, &result);
  return FALSE;
}

}  // namespace

std::uint32_t Win32InstancePlatform::FindProcessByExeName(std::u16string_view exe_name) {
  controls::UniqueKernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE) {
    snapshot.release();
    return 0;
  }
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more;
       more = ::Process32NextW(snapshot.get(), &entry)) {
    const std::wstring_view image(entry.szExeFile);
    if (EqualsIgnoringCase(std::u16string(image.begin(), image.end()), exe_name)) {
      return entry.th32ProcessID;
    }
  }
  return 0;
}

void Win32InstancePlatform::SignalInstance(std::uint32_t process_id, InstanceSignal signal) {
  SignalSearch search{process_id, signal == InstanceSignal::Kill ? kMsgKill : kMsgOpen,
                      signal == InstanceSignal::Kill ? kTagKill : kTagOpen};
  ::EnumWindows(&SignalFirstTaggedWindow, reinterpret_cast<LPARAM>(&search));
}

bool Win32InstancePlatform::OpenExistingMutex(std::u16string_view name) {
  HANDLE h = ::OpenMutexW(MUTEX_ALL_ACCESS, FALSE, WideFrom(name).c_str());
  if (h == nullptr) return false;
  mutex_.reset(h);
  return true;
}

void Win32InstancePlatform::CreateOwnedMutex(std::u16string_view name) {
  mutex_.reset(::CreateMutexW(nullptr, TRUE, WideFrom(name).c_str()));
}

void Win32InstancePlatform::StartHidden(std::u16string_view program) {
  const std::wstring path = WideFrom(program);
  // A missing companion program changes nothing; check first so the shell shows no error.
  if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  ::ShellExecuteW(nullptr, L"open", path.c_str(), L"", L"", SW_HIDE);
}

}  // namespace vendrel::app
