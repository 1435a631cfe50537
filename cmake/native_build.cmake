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

# The program ships as the i686 build. Where this machine runs only 64-bit Wine (a kernel without
# IA-32 emulation), the Wine scenarios drive an x86_64 build of the same sources, in <build>/dist64.
set(VENDREL_WINDOWS64 AUTO CACHE STRING "Also build the x86_64 program for 64-bit Wine: ON, OFF or AUTO")
set(vendrel_build_windows64 OFF)
if(VENDREL_WINDOWS AND VENDREL_WINDOWS64 STREQUAL "AUTO")
  execute_process(COMMAND bash "${CMAKE_SOURCE_DIR}/scripts/wine-arch"
    OUTPUT_VARIABLE vendrel_wine_arch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(vendrel_wine_arch STREQUAL "win64")
    set(vendrel_build_windows64 ON)
  endif()
elseif(VENDREL_WINDOWS AND VENDREL_WINDOWS64)
  set(vendrel_build_windows64 ON)
endif()

# Adds the cross-built Windows program for one architecture as the external project NAME.
function(vendrel_windows_build name toolchain dist)
  ExternalProject_Add(${name}
    SOURCE_DIR "${CMAKE_SOURCE_DIR}"
    BINARY_DIR "${CMAKE_BINARY_DIR}/${name}"
    CMAKE_GENERATOR Ninja
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/${toolchain}
      -DCMAKE_BUILD_TYPE=Release
      -DVENDREL_DIST=${dist}
      -DVENDREL_GENERATED=${VENDREL_GENERATED}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    USES_TERMINAL_BUILD ON)
  if(TARGET skin)
    add_dependencies(${name} skin)
  endif()
endfunction()

if(VENDREL_WINDOWS)
  include(ExternalProject)
  vendrel_windows_build(windows i686-w64-mingw32.cmake "${VENDREL_DIST}")
endif()
if(vendrel_build_windows64)
  message(STATUS "Only 64-bit Wine runs here: the Wine scenarios use the x86_64 build in dist64")
  vendrel_windows_build(windows64 x86_64-w64-mingw32.cmake "${CMAKE_BINARY_DIR}/dist64")
  # The drawn skin, help page and package files are the same for both builds.
  if(TARGET skin)
    set(dist64_data_stamp "${CMAKE_BINARY_DIR}/dist64_data.stamp")
    add_custom_command(OUTPUT "${dist64_data_stamp}"
      COMMAND ${CMAKE_COMMAND} -E copy_directory "${VENDREL_DIST}/Skins" "${CMAKE_BINARY_DIR}/dist64/Skins"
      COMMAND ${CMAKE_COMMAND} -E copy_directory "${VENDREL_DIST}/Help" "${CMAKE_BINARY_DIR}/dist64/Help"
      COMMAND ${CMAKE_COMMAND} -E copy_directory "${VENDREL_DIST}/Package" "${CMAKE_BINARY_DIR}/dist64/Package"
      COMMAND ${CMAKE_COMMAND} -E touch "${dist64_data_stamp}"
      DEPENDS "${CMAKE_BINARY_DIR}/skin/skin.stamp"
      COMMENT "Copying the skin into dist64" VERBATIM)
    add_custom_target(dist64_data ALL DEPENDS "${dist64_data_stamp}")
    add_dependencies(dist64_data skin)
    add_dependencies(windows64 dist64_data)
  endif()
endif()

if(EXISTS "${CMAKE_SOURCE_DIR}/tests/e2e/CMakeLists.txt")
  add_subdirectory(tests/e2e)
endif()
