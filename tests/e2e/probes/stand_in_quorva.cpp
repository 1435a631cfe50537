// A stand-in Quorva.dll that is wrong on purpose, to see the program's loader give up: built once
// without its last entry point and once with an Init that fails (STAND_IN_INIT_RESULT).
#include <cstdint>

extern "C" {

int __stdcall Debug(int) { return 1; }
int __stdcall Init(int) { return STAND_IN_INIT_RESULT; }
int __stdcall End() { return 1; }
int __stdcall RequestGetDeviceCount(const std::uint8_t*, void*, std::uint32_t, std::uint32_t, std::uint32_t) {
  return 1;
}
int __stdcall DeleteRequestFromUnitId(std::uint32_t) { return 1; }
int __stdcall DeleteRequestFromHandle(std::uint32_t) { return 1; }
int __stdcall RequestWrite(const std::uint8_t*, void*, std::uint32_t, const std::uint8_t*, std::uint32_t,
                           std::uint32_t, std::uint32_t) {
  return 1;
}
int __stdcall RequestWriteOne(const std::uint8_t*, void*, std::uint32_t, const std::uint8_t*, std::uint32_t,
                              std::uint32_t, std::uint32_t) {
  return 1;
}
int __stdcall RequestStatusWrite(const std::uint8_t*, void*, std::uint32_t, const std::uint8_t*, std::uint32_t,
                                 std::uint32_t, std::uint32_t*) {
  return 1;
}
int __stdcall RequestStatusGet(const std::uint8_t*, void*, std::uint32_t, std::uint8_t*, std::uint32_t,
                               std::uint32_t, std::uint32_t*) {
  return 1;
}
int __stdcall RequestAsyncRead(const std::uint8_t*, void*, std::uint32_t, std::uint32_t, std::uint32_t*) {
  return 1;
}
int __stdcall RequestStatusSetFeature(const std::uint8_t*, void*, std::uint32_t, const std::uint8_t*,
                                      std::uint32_t, std::uint32_t, std::uint32_t*) {
  return 1;
}

}  // extern "C"
