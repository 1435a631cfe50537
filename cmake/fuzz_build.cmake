# libFuzzer build (VENDREL_FUZZ=ON, clang): the portable core, the keyboard model and kbsim's pure
# logic instrumented for coverage, and one <name>_fuzz program per fuzz/<name>_fuzz.cpp.
# Used by scripts/fuzz in its own build folder; the native build replays the same targets.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "VENDREL_FUZZ needs clang++ (libFuzzer): configure with -DCMAKE_CXX_COMPILER=clang++")
endif()

set(VENDREL_FUZZ_INSTRUMENT -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
    -fno-omit-frame-pointer)
set(VENDREL_FUZZ_LINK -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)

vendrel_core_library(vendrel_core_fuzz ${VENDREL_FUZZ_INSTRUMENT})

# The model and kbsim's pure parts: everything under sim/ but kbsim's program and socket loop.
file(GLOB VENDREL_FUZZ_SIM_SOURCES CONFIGURE_DEPENDS
     "${CMAKE_SOURCE_DIR}/sim/model/*.cpp" "${CMAKE_SOURCE_DIR}/sim/kbsim/*.cpp")
list(FILTER VENDREL_FUZZ_SIM_SOURCES EXCLUDE REGEX "/sim/kbsim/(main|server)\\.cpp$")
add_library(vendrel_sim_fuzz STATIC ${VENDREL_FUZZ_SIM_SOURCES})
target_include_directories(vendrel_sim_fuzz PUBLIC "${CMAKE_SOURCE_DIR}" "${CMAKE_SOURCE_DIR}/src")
target_compile_options(vendrel_sim_fuzz PRIVATE ${VENDREL_WARNINGS} ${VENDREL_FUZZ_INSTRUMENT})
target_link_libraries(vendrel_sim_fuzz PUBLIC vendrel_core_fuzz)

add_subdirectory(fuzz)

# Writes the encoder-made seeds into fuzz/corpus (run by hand when a format changes).
add_executable(fuzz_seed_writer "${CMAKE_SOURCE_DIR}/fuzz/seed_writer.cpp")
target_link_libraries(fuzz_seed_writer PRIVATE vendrel_sim_fuzz vendrel_core_fuzz)
target_compile_options(fuzz_seed_writer PRIVATE ${VENDREL_FUZZ_INSTRUMENT})
target_link_options(fuzz_seed_writer PRIVATE -fsanitize=address,undefined)
