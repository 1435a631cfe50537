#include "device/win32/quorva_loader.h"

namespace vendrel::device {
namespace {

template <typename F>
bool Resolve(HMODULE module, const char* name, F& slot) {
  const FARPROC address = GetProcAddress(module, name);
  if (address == nullptr) return false;
  slot = reinterpret_cast<F>(reinterpret_cast<void*>(address));
  return true;
}

}  // namespace

std::optional<QuorvaEntryPoints> LoadQuorva(const wchar_t* name) {
  // Deliberately never freed: the library's threads run our callback for the life of the process.
  const HMODULE module = LoadLibraryW(name);
  if (module == nullptr) return std::nullopt;
  QuorvaEntryPoints e{};
  const bool all = Resolve(module, "Debug", e.Debug) && Resolve(module, "Init", e.Init) &&
                   Resolve(module, "End", e.End) &&
                   Resolve(module, "RequestGetDeviceCount", e.RequestGetDeviceCount) &&
                   Resolve(module, "DeleteRequestFromUnitId", e.DeleteRequestFromUnitId) &&
                   Resolve(module, "DeleteRequestFromHandle", e.DeleteRequestFromHandle) &&
                   Resolve(module, "RequestWrite", e.RequestWrite) &&
                   Resolve(module, "RequestWriteOne", e.RequestWriteOne) &&
                   Resolve(module, "RequestStatusWrite", e.RequestStatusWrite) &&
                   Resolve(module, "RequestStatusGet", e.RequestStatusGet) &&
                   Resolve(module, "RequestAsyncRead", e.RequestAsyncRead) &&
                   Resolve(module, "RequestStatusSetFeature", e.RequestStatusSetFeature);
  if (!all) return std::nullopt;
  return e;
}

QuorvaEntryPoints LoadQuorvaOrExit(const wchar_t* name) {
  const auto entry = LoadQuorva(name);
  if (!entry || entry->Init(0) <= 0) ExitProcess(0);
  return *entry;
}

}  // namespace vendrel::device
