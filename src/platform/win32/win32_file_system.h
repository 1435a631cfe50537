#pragma once
// The file system through the Win32 calls the program has always used.
#include "platform/file_system.h"

namespace vendrel::platform::win32 {

FileSystem& Win32FileSystem();

}  // namespace vendrel::platform::win32
