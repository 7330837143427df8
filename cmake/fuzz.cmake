# The fuzzing build (`make fuzz`): clang with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer over the portable code. Clang keeps string literals in
# UTF-8 (it has no Shift-JIS execution character set), which matters only to the few
# routines that compare Japanese literals.
set(fuzz_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g -O1)

add_library(quillet_core_fuzz STATIC ${QUILLET_PORTABLE_SOURCES})
target_include_directories(quillet_core_fuzz PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(quillet_core_fuzz PRIVATE ${fuzz_flags} -fsanitize=fuzzer-no-link)
target_link_options(quillet_core_fuzz PUBLIC -fsanitize=address,undefined)
target_link_libraries(quillet_core_fuzz PUBLIC z)

file(GLOB fuzz_targets CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*_fuzz.cpp)
foreach(src ${fuzz_targets})
  get_filename_component(target ${src} NAME_WE)
  add_executable(${target} ${src})
  target_compile_options(${target} PRIVATE ${fuzz_flags} -fsanitize=fuzzer)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${target} PRIVATE quillet_core_fuzz)
endforeach()
