# Windows build (i686 mingw-w64): the core again, then Quorva.dll, Vendrel.exe and the e2e probes.
set(VENDREL_DIST "${CMAKE_BINARY_DIR}/dist" CACHE PATH "Where the Windows program is assembled")
set(VENDREL_GENERATED "${CMAKE_BINARY_DIR}/generated" CACHE PATH "Files drawn at build time (icons)")
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY "${VENDREL_DIST}")
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY "${VENDREL_DIST}")

# Everything statically linked: no libstdc++, libgcc or winpthread DLLs to ship.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
set(VENDREL_WIN_LINK -static -static-libgcc -static-libstdc++)

vendrel_core_library(vendrel_core)
target_link_options(vendrel_core PUBLIC ${VENDREL_WIN_LINK})

foreach(part quorva src/app tests/e2e/probes)
  if(EXISTS "${CMAKE_SOURCE_DIR}/${part}/CMakeLists.txt")
    add_subdirectory(${part})
  endif()
endforeach()
