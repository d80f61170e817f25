# SPDX-License-Identifier: GPL-3.0-or-later
# The fuzz targets, built by run-fuzzers.sh with clang. The code under test is
# compiled here with the sanitizers and coverage instrumentation, from the
# planner's own sources.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "The fuzz targets need clang (libFuzzer): configure with -DCMAKE_CXX_COMPILER=clang++")
endif()

find_program(CCACHE_PROGRAM ccache)
if(CCACHE_PROGRAM)
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CCACHE_PROGRAM})
endif()

find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets)
find_package(PkgConfig REQUIRED)
pkg_check_modules(SQLITE3 REQUIRED IMPORTED_TARGET sqlite3)

set(PLANNER_ROOT ${CMAKE_CURRENT_SOURCE_DIR}/../..)
set(SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

# What the targets exercise: the number readings, the colour reading and the store.
add_library(fuzzed_code STATIC
  ${PLANNER_ROOT}/platform/Numbers.cpp
  ${PLANNER_ROOT}/platform/OleColor.cpp
  ${PLANNER_ROOT}/platform/Dispatch.cpp
  ${PLANNER_ROOT}/platform/Today.cpp
  ${PLANNER_ROOT}/settings/Sqlite.cpp
  ${PLANNER_ROOT}/settings/SettingsStore.cpp
  ${PLANNER_ROOT}/settings/SafetyCopies.cpp
  ${PLANNER_ROOT}/settings/PartFile.cpp
  ${PLANNER_ROOT}/settings/StoreFolder.cpp
  ${PLANNER_ROOT}/settings/StoreFile.cpp)
target_include_directories(fuzzed_code PUBLIC ${PLANNER_ROOT})
target_compile_options(fuzzed_code PUBLIC ${SANITIZERS} PRIVATE -fsanitize=fuzzer-no-link)
target_link_options(fuzzed_code PUBLIC ${SANITIZERS})
target_link_libraries(fuzzed_code PUBLIC Qt6::Widgets PkgConfig::SQLITE3)

foreach(target fuzz_isnumber fuzz_yearof fuzz_colortext fuzz_store_roundtrip)
  add_executable(${target} ${target}.cpp)
  target_compile_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${target} PRIVATE fuzzed_code)
endforeach()
