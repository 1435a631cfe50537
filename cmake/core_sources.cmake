# The portable core: every .cpp under src/ except the Win32 views and platform implementations,
# which live in folders named ui/ or win32/, and the skinned controls and the application shell's
# window code. New files are picked up without editing this list.
file(GLOB_RECURSE VENDREL_ALL_SOURCES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/src/*.cpp")
set(VENDREL_CORE_SOURCES ${VENDREL_ALL_SOURCES})
list(FILTER VENDREL_CORE_SOURCES EXCLUDE REGEX "/(ui|win32)/")
list(FILTER VENDREL_CORE_SOURCES EXCLUDE REGEX "/src/controls/")

set(VENDREL_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)

# Adds a static library of the portable core with the given extra compile/link flags.
function(vendrel_core_library name)
  add_library(${name} STATIC ${VENDREL_CORE_SOURCES})
  target_include_directories(${name} PUBLIC "${CMAKE_SOURCE_DIR}/src" "${CMAKE_SOURCE_DIR}")
  target_compile_options(${name} PRIVATE ${VENDREL_WARNINGS} ${ARGN})
  target_link_options(${name} PUBLIC ${ARGN})
  find_package(Threads REQUIRED)
  target_link_libraries(${name} PUBLIC Threads::Threads)
endfunction()
