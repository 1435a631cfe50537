#pragma once
// Loading Quorva.dll: by name, its twelve entry points resolved in a fixed order, then Init(0).
// The module is never unloaded: its threads call back into us until the process ends.
#include <windows.h>

#include <cstdint>
#include <optional>

namespace vendrel::device {

using QuorvaCallback = int(__stdcall*)(void* event_record);

struct QuorvaEntryPoints {
  int(__stdcall* Debug)(int);
  int(__stdcall* Init)(int);
  int(__stdcall* End)();
  int(__stdcall* RequestGetDeviceCount)(const std::uint8_t*, QuorvaCallback, std::uint32_t, std::uint32_t,
                                        std::uint32_t);
  int(__stdcall* DeleteRequestFromUnitId)(std::uint32_t);
  int(__stdcall* DeleteRequestFromHandle)(std::uint32_t);
  int(__stdcall* RequestWrite)(const std::uint8_t*, QuorvaCallback, std::uint32_t, const std::uint8_t*,
                               std::uint32_t, std::uint32_t, std::uint32_t);
  int(__stdcall* RequestWriteOne)(const std::uint8_t*, QuorvaCallback, std::uint32_t, const std::uint8_t*,
                                  std::uint32_t, std::uint32_t, std::uint32_t);
  int(__stdcall* RequestStatusWrite)(const std::uint8_t*, QuorvaCallback, std::uint32_t, const std::uint8_t*,
                                     std::uint32_t, std::uint32_t, std::uint32_t*);
  int(__stdcall* RequestStatusGet)(const std::uint8_t*, QuorvaCallback, std::uint32_t, std::uint8_t*,
                                   std::uint32_t, std::uint32_t, std::uint32_t*);
  int(__stdcall* RequestAsyncRead)(const std::uint8_t*, QuorvaCallback, std::uint32_t, std::uint32_t,
                                   std::uint32_t*);
  int(__stdcall* RequestStatusSetFeature)(const std::uint8_t*, QuorvaCallback, std::uint32_t,
                                          const std::uint8_t*, std::uint32_t, std::uint32_t, std::uint32_t*);
};

// Loads the library and resolves all twelve entry points; nothing when the library or any entry
// point is missing. Does not call Init.
std::optional<QuorvaEntryPoints> LoadQuorva(const wchar_t* name = L"Quorva.dll");

// The program's start: load, resolve, Init(0). Without a usable library the program cannot do
// anything, so any failure ends the process at once with exit code 0.
QuorvaEntryPoints LoadQuorvaOrExit(const wchar_t* name = L"Quorva.dll");

}  // namespace vendrel::device
