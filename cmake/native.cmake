# Native Linux build: the portable logic with its unit tests (AddressSanitizer and
# UndefinedBehaviorSanitizer), command-line tools and benchmarks.
find_package(GTest REQUIRED)
find_package(benchmark QUIET)
find_package(ZLIB REQUIRED)  # SyncTeX data comes gzip-compressed

set(sanitize -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)

add_library(quillet_core STATIC ${QUILLET_PORTABLE_SOURCES})
target_include_directories(quillet_core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(quillet_core PRIVATE ${QUILLET_WARNINGS} ${QUILLET_CHARSET_FLAGS} ${sanitize})
target_link_options(quillet_core PUBLIC ${sanitize})
target_link_libraries(quillet_core PUBLIC ZLIB::ZLIB)

# Benchmarks link a copy built without the sanitizers.
add_library(quillet_core_fast STATIC ${QUILLET_PORTABLE_SOURCES})
target_include_directories(quillet_core_fast PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(quillet_core_fast PRIVATE ${QUILLET_WARNINGS} ${QUILLET_CHARSET_FLAGS} -O2)
target_link_libraries(quillet_core_fast PUBLIC ZLIB::ZLIB)

file(GLOB unit_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*_test.cpp)
foreach(src ${unit_tests})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_compile_options(${name} PRIVATE ${QUILLET_WARNINGS} ${QUILLET_CHARSET_FLAGS} ${sanitize})
  target_compile_definitions(${name} PRIVATE
    QUILLET_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    QUILLET_FIXTURES_DIR="${CMAKE_SOURCE_DIR}/tests/fixtures")
  target_link_libraries(${name} PRIVATE quillet_core GTest::gtest_main)
  add_test(NAME native.${name} COMMAND ${name})
endforeach()
# The SyncTeX test asks the stock SyncTeX library, as viewers on Linux use it, about the
# copy of the data made for it.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SYNCTEX REQUIRED IMPORTED_TARGET synctex)
target_link_libraries(synctex_reader_test PRIVATE PkgConfig::SYNCTEX)

# quillet-logscan FILE.log: what the error window makes of a log, for users and bug reports.
add_executable(quillet-logscan ${CMAKE_SOURCE_DIR}/tools/quillet_logscan.cpp)
target_compile_options(quillet-logscan PRIVATE ${QUILLET_WARNINGS} ${sanitize})
target_link_libraries(quillet-logscan PRIVATE quillet_core)
set(logscan_case ${CMAKE_SOURCE_DIR}/tests/fixtures/tex-logs/c03_two_errors_sjis/c_answered)
add_test(NAME native.quillet_logscan_prints_window_select_and_result
  COMMAND sh -c "\"$0\" \"$1.log\" > logscan_out.txt && { cat \"$1.expected.raw\"; printf '=> select 5\\n=> result errors\\n'; } | cmp logscan_out.txt -"
    $<TARGET_FILE:quillet-logscan> ${logscan_case})
add_test(NAME native.quillet_logscan_missing_file_exits_2
  COMMAND sh -c "\"$0\" \"$1\" 2> logscan_err.txt; [ $? -eq 2 ] && [ -s logscan_err.txt ]"
    $<TARGET_FILE:quillet-logscan> ${CMAKE_CURRENT_BINARY_DIR}/no-such.log)

# House rule: portable files never include Windows headers.
add_test(NAME native.portable_files_stay_portable
  COMMAND ${CMAKE_SOURCE_DIR}/tools/check-portable ${CMAKE_SOURCE_DIR})

if(benchmark_FOUND)
  file(GLOB benches CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_bench.cpp)
  foreach(src ${benches})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_compile_options(${name} PRIVATE ${QUILLET_WARNINGS} ${QUILLET_CHARSET_FLAGS} -O2)
    target_link_libraries(${name} PRIVATE quillet_core_fast benchmark::benchmark)
  endforeach()
endif()

# Fuzz targets (fuzz/NAME_fuzz.cpp) replay their saved corpus (fuzz/corpus/NAME) and
# regression cases (fuzz/regressions/NAME) in the test suite; `make fuzz` fuzzes them.
file(GLOB fuzz_targets CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*_fuzz.cpp)
foreach(src ${fuzz_targets})
  get_filename_component(target ${src} NAME_WE)
  string(REGEX REPLACE "_fuzz$" "" name ${target})
  add_executable(${name}_replay ${src} ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
  target_compile_options(${name}_replay PRIVATE ${QUILLET_WARNINGS} ${QUILLET_CHARSET_FLAGS} ${sanitize})
  target_link_libraries(${name}_replay PRIVATE quillet_core)
  add_test(NAME native.fuzz_replay.${name}
    COMMAND ${name}_replay ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name} ${CMAKE_SOURCE_DIR}/fuzz/regressions/${name})
endforeach()
