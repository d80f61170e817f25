# SPDX-License-Identifier: GPL-3.0-or-later
# The fuzz targets, built by run-fuzzers.sh with clang. The code under test is
# compiled here with the sanitizers and coverage instrumentation, from the
# planner's own sources.
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_AUTOMOC ON)
add_compile_options(-Wall -Wextra)

if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "The fuzz targets need clang (libFuzzer): configure with -DCMAKE_CXX_COMPILER=clang++")
endif()

find_program(CCACHE_PROGRAM ccache)
if(CCACHE_PROGRAM)
  set(CMAKE_CXX_COMPILER_LAUNCHER ${CCACHE_PROGRAM})
endif()

find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Network)
find_package(PkgConfig REQUIRED)
pkg_check_modules(SQLITE3 REQUIRED IMPORTED_TARGET sqlite3)
pkg_check_modules(LIBICAL REQUIRED IMPORTED_TARGET libical)

set(PLANNER_ROOT ${CMAKE_CURRENT_SOURCE_DIR}/../..)
set(SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

# What the targets exercise: the number readings, the colour reading, the
# store and the readers of what files and servers hand over (iCalendar, the
# JSON import, WebDAV's multistatus), with the layers they stand on.
include(${PLANNER_ROOT}/cmake/PlannerSources.cmake)
set(fuzzed_sources ${PLANNER_BASE_SOURCES} ${PLANNER_STORE_SOURCES} ${PLANNER_PLATFORM_SOURCES}
  ${PLANNER_NOTES_SOURCES} ${PLANNER_NOTE_FORMATS_SOURCES} ${PLANNER_CALDAV_SOURCES})
list(TRANSFORM fuzzed_sources PREPEND ${PLANNER_ROOT}/)
add_library(fuzzed_code STATIC ${fuzzed_sources})
target_include_directories(fuzzed_code PUBLIC ${PLANNER_ROOT})
target_compile_options(fuzzed_code PUBLIC ${SANITIZERS} PRIVATE -fsanitize=fuzzer-no-link)
target_link_options(fuzzed_code PUBLIC ${SANITIZERS})
target_link_libraries(fuzzed_code PUBLIC Qt6::Widgets Qt6::Network PkgConfig::SQLITE3 PkgConfig::LIBICAL)

foreach(target fuzz_isnumber fuzz_yearof fuzz_colortext fuzz_store_roundtrip fuzz_journal fuzz_multistatus fuzz_import)
  add_executable(${target} ${target}.cpp)
  target_compile_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${target} PRIVATE fuzzed_code)
endforeach()
