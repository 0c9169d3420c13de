# Helpers that declare the project's targets with one set of flags.

set(GL_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion)
# Clang's -Wconversion takes in -Wsign-conversion, which GCC keeps apart; both compilers check the
# same: conversions that can lose a value.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  list(APPEND GL_WARNINGS -Wno-sign-conversion)
endif()
if(GL_WERROR)
  list(APPEND GL_WARNINGS -Werror)
endif()

if(GL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(GL_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# gl_library(NAME gl_core SOURCES a.cpp ... DEPS gl_platform ...)
# Headers are included as "core/foo.h" from the src folder. A library without sources yet is an
# interface of headers.
function(gl_library)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;DEPS" ${ARGN})
  if(NOT ARG_SOURCES)
    add_library(${ARG_NAME} INTERFACE)
    target_include_directories(${ARG_NAME} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${ARG_NAME} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(${ARG_NAME} STATIC ${ARG_SOURCES})
  target_include_directories(${ARG_NAME} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${ARG_NAME} PRIVATE ${GL_WARNINGS})
  target_link_libraries(${ARG_NAME} PUBLIC ${ARG_DEPS})
endfunction()

# gl_test(NAME core_tests [OWN_MAIN] SOURCES a_test.cpp ... DEPS gl_core ...)
# One GoogleTest executable per library; every test runs as its own CTest case. OWN_MAIN: the
# sources bring their own main() (the desktop tests create the application object there).
function(gl_test)
  cmake_parse_arguments(ARG "OWN_MAIN" "NAME" "SOURCES;DEPS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_compile_options(${ARG_NAME} PRIVATE ${GL_WARNINGS})
  set(gtest_main GTest::gtest_main)
  if(ARG_OWN_MAIN)
    set(gtest_main)
  endif()
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_DEPS} gl_test_support GTest::gtest GTest::gmock ${gtest_main})
  gtest_discover_tests(${ARG_NAME} DISCOVERY_MODE PRE_TEST PROPERTIES TIMEOUT 120)
endfunction()

# gl_fuzz(NAME brief_reader SOURCES brief_reader_fuzz.cpp DEPS gl_core)
# With GL_FUZZ the target is a libFuzzer binary; otherwise a small main() replays files, and
# CTest replays the committed seed corpus fuzz/corpus/<name>/ through it.
function(gl_fuzz)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;DEPS" ${ARGN})
  set(target fuzz_${ARG_NAME})
  if(GL_FUZZ)
    add_executable(${target} ${ARG_SOURCES})
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  else()
    add_executable(${target} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cpp)
  endif()
  target_compile_options(${target} PRIVATE ${GL_WARNINGS})
  target_link_libraries(${target} PRIVATE ${ARG_DEPS})
  set(corpus ${PROJECT_SOURCE_DIR}/fuzz/corpus/${ARG_NAME})
  add_test(NAME fuzz_replay_${ARG_NAME} COMMAND ${target} ${corpus})
  set_tests_properties(fuzz_replay_${ARG_NAME} PROPERTIES TIMEOUT 300)
endfunction()

# gl_bench(NAME rewrite_bench SOURCES ... DEPS ...)
function(gl_bench)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;DEPS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_compile_options(${ARG_NAME} PRIVATE ${GL_WARNINGS})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_DEPS} benchmark::benchmark)
endfunction()
