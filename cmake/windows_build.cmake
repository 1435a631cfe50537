# Windows build (mingw-w64; i686 ships, x86_64 serves the Wine scenarios where only 64-bit runs): the core again, then Quorva.dll, Vendrel.exe and the e2e probes.
set(VENDREL_DIST "${CMAKE_BINARY_DIR}/dist" CACHE PATH "Where the Windows program is assembled")
set(VENDREL_GENERATED "${CMAKE_BINARY_DIR}/generated" CACHE PATH "Files drawn at build time (icons)")
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY "${VENDREL_DIST}")
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY "${VENDREL_DIST}")

# Everything statically linked: no libstdc++, libgcc or winpthread DLLs to ship.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
set(VENDREL_WIN_LINK -static -static-libgcc -static-libstdc++)

# Quorva.dll's records and its callback carry 32-bit addresses. The x86_64 build (for 64-bit Wine
# only) therefore links every image at a fixed base below 4 GB, where its code and the library's
# record slots stay.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  string(APPEND CMAKE_EXE_LINKER_FLAGS " -Wl,--image-base=0x400000 -Wl,--disable-dynamicbase -Wl,--disable-high-entropy-va")
  string(APPEND CMAKE_SHARED_LINKER_FLAGS " -Wl,--image-base=0x10000000 -Wl,--disable-dynamicbase -Wl,--disable-high-entropy-va")
endif()

# Sections laid out in the file page by page, as in memory: Wine maps them from the file (shared,
# clean pages) instead of copying each one into the process's private memory.
string(APPEND CMAKE_EXE_LINKER_FLAGS " -Wl,--file-alignment=0x1000")
string(APPEND CMAKE_SHARED_LINKER_FLAGS " -Wl,--file-alignment=0x1000")

# Shipped images carry no symbol table: it nearly doubles their size and nothing on a user's
# machine reads it.
string(APPEND CMAKE_EXE_LINKER_FLAGS " -s")
string(APPEND CMAKE_SHARED_LINKER_FLAGS " -s")

# The module-definition files name Quorva.dll's entries with their 32-bit stdcall decorations
# (Init = Init@4). A 64-bit build has no decorations: it gets a copy without them.
function(vendrel_export_definitions out_var def)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(${out_var} "${def}" PARENT_SCOPE)
    return()
  endif()
  get_filename_component(name "${def}" NAME)
  file(READ "${def}" text)
  string(REGEX REPLACE " = [A-Za-z_][A-Za-z0-9_]*@[0-9]+" "" text "${text}")
  set(copy "${CMAKE_CURRENT_BINARY_DIR}/undecorated/${name}")
  file(WRITE "${copy}" "${text}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${def}")
  set(${out_var} "${copy}" PARENT_SCOPE)
endfunction()

vendrel_core_library(vendrel_core)
target_link_options(vendrel_core PUBLIC ${VENDREL_WIN_LINK})

foreach(part quorva src/app tests/e2e/probes bench/baseline bench/probes)
  if(EXISTS "${CMAKE_SOURCE_DIR}/${part}/CMakeLists.txt")
    add_subdirectory(${part})
  endif()
endforeach()
