# Native build: core, keyboard model, tests, benchmarks, kbsim; Windows build as external project.
enable_testing()
find_package(GTest REQUIRED)
find_package(benchmark REQUIRED)

set(VENDREL_SANITIZE_ASAN -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
set(VENDREL_SANITIZE_TSAN -fsanitize=thread -fno-omit-frame-pointer)

vendrel_core_library(vendrel_core)
vendrel_core_library(vendrel_core_asan ${VENDREL_SANITIZE_ASAN})
vendrel_core_library(vendrel_core_tsan ${VENDREL_SANITIZE_TSAN})

add_subdirectory(sim)
add_subdirectory(tests/unit)
add_subdirectory(fuzz)
if(EXISTS "${CMAKE_SOURCE_DIR}/bench/CMakeLists.txt")
  add_subdirectory(bench)
endif()
if(EXISTS "${CMAKE_SOURCE_DIR}/skin/CMakeLists.txt")
  add_subdirectory(skin)
endif()

# The Windows half, cross-compiled with mingw-w64 into ${VENDREL_DIST}. Files drawn at build time
# that the Windows half compiles in (icons) come from the native half's ${VENDREL_GENERATED}.
set(VENDREL_DIST "${CMAKE_BINARY_DIR}/dist" CACHE PATH "Where the Windows program is assembled")
set(VENDREL_GENERATED "${CMAKE_BINARY_DIR}/generated" CACHE PATH "Files drawn at build time")
option(VENDREL_WINDOWS "Cross-build the Windows program with mingw-w64" ON)
if(VENDREL_WINDOWS)
  include(ExternalProject)
  ExternalProject_Add(windows
    SOURCE_DIR "${CMAKE_SOURCE_DIR}"
    BINARY_DIR "${CMAKE_BINARY_DIR}/windows"
    CMAKE_GENERATOR Ninja
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/i686-w64-mingw32.cmake
      -DCMAKE_BUILD_TYPE=Release
      -DVENDREL_DIST=${VENDREL_DIST}
      -DVENDREL_GENERATED=${VENDREL_GENERATED}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    USES_TERMINAL_BUILD ON)
  if(TARGET skin)
    add_dependencies(windows skin)
  endif()
endif()

if(EXISTS "${CMAKE_SOURCE_DIR}/tests/e2e/CMakeLists.txt")
  add_subdirectory(tests/e2e)
endif()
