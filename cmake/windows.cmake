# Windows build (mingw-w64): the program Quillet.exe, its help file, and the tests that
# drive the real windows under Wine (the emulator comes from the toolchain file).
set(win_defs NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0600)
# zlib linked statically (SyncTeX data), so nothing new ships beside the program.
set(win_libs comctl32 gdi32 user32 imm32 /usr/x86_64-w64-mingw32/lib/libz.a)
set(static_runtime -static -static-libgcc -static-libstdc++)

configure_file(${CMAKE_SOURCE_DIR}/cmake/quillet_version.h.in ${CMAKE_BINARY_DIR}/generated/quillet_version.h)

add_library(quillet_win STATIC ${QUILLET_PORTABLE_SOURCES} ${QUILLET_WIN_SOURCES})
target_include_directories(quillet_win PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
target_compile_definitions(quillet_win PUBLIC ${win_defs})
target_compile_options(quillet_win PRIVATE ${QUILLET_WARNINGS} ${QUILLET_CHARSET_FLAGS})
target_link_libraries(quillet_win PUBLIC ${win_libs})
target_link_options(quillet_win PUBLIC ${static_runtime})

add_executable(Quillet WIN32 app/main_win.cpp app/quillet.rc)
target_compile_options(Quillet PRIVATE ${QUILLET_WARNINGS} ${QUILLET_CHARSET_FLAGS})
target_link_libraries(Quillet PRIVATE quillet_win)

# The bridges that let TeX Quillet drive TeX Live's engines and a PDF viewer, shipped
# beside Quillet.exe. Window programs, as the programs they stand for.
foreach(bridge tex dvi)
  add_executable(quillet-${bridge} WIN32 ${CMAKE_SOURCE_DIR}/bridges/quillet_${bridge}_main_win.cpp)
  target_compile_options(quillet-${bridge} PRIVATE ${QUILLET_WARNINGS} ${QUILLET_CHARSET_FLAGS})
  target_link_libraries(quillet-${bridge} PRIVATE quillet_win)
endforeach()

add_executable(quillet-icons ${CMAKE_SOURCE_DIR}/artwork/icon_files_main_win.cpp)
target_compile_options(quillet-icons PRIVATE ${QUILLET_WARNINGS} ${QUILLET_CHARSET_FLAGS})
target_link_libraries(quillet-icons PRIVATE quillet_win)

# Each shipped program carries a version resource with a Japanese description.
set(description_Quillet "TeX Quillet 日本語 TeX 文書エディタ")
set(description_quillet-tex "TeX Quillet 組版エンジンとの橋渡し")
set(description_quillet-dvi "TeX Quillet DVI ビューアとの橋渡し")
# Quillet.exe also carries its icons (the program's first, the document's second), made
# from the drawn pictures by quillet-icons (tools/make-icons) and kept in artwork/.
set(icons_Quillet "1 ICON \"${CMAKE_SOURCE_DIR}/artwork/Quillet.ico\"\n2 ICON \"${CMAKE_SOURCE_DIR}/artwork/quillet-document.ico\"")
foreach(rc_name Quillet quillet-tex quillet-dvi)
  set(rc_description ${description_${rc_name}})
  set(rc_icons "${icons_${rc_name}}")
  configure_file(${CMAKE_SOURCE_DIR}/cmake/version.rc.in ${CMAKE_BINARY_DIR}/generated/${rc_name}_version.rc @ONLY)
  target_sources(${rc_name} PRIVATE ${CMAKE_BINARY_DIR}/generated/${rc_name}_version.rc)
endforeach()
set_source_files_properties(${CMAKE_BINARY_DIR}/generated/Quillet_version.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/artwork/Quillet.ico;${CMAKE_SOURCE_DIR}/artwork/quillet-document.ico")

# The help file is kept in UTF-8 and shipped in Shift-JIS beside the program.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/Quillet.hlp
  COMMAND iconv -f UTF-8 -t CP932 ${CMAKE_SOURCE_DIR}/help/Quillet.hlp.txt > ${CMAKE_BINARY_DIR}/Quillet.hlp
  DEPENDS ${CMAKE_SOURCE_DIR}/help/Quillet.hlp.txt)
add_custom_target(help_file ALL DEPENDS ${CMAKE_BINARY_DIR}/Quillet.hlp)

# The sample document, kept in UTF-8 and shipped in Shift-JIS with CR LF line ends, as
# Japanese users write.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/sample.tex
  COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_SOURCE_DIR}/samples/sample.tex -DDST=${CMAKE_BINARY_DIR}/sample.tex
          -P ${CMAKE_SOURCE_DIR}/cmake/shipped_text.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/samples/sample.tex ${CMAKE_SOURCE_DIR}/cmake/shipped_text.cmake)
add_custom_target(sample_document ALL DEPENDS ${CMAKE_BINARY_DIR}/sample.tex)

# The command list and the macro library, kept in UTF-8 and shipped in Shift-JIS with
# CR LF line ends, as a Windows text file is.
set(shipped_content ${CMAKE_BINARY_DIR}/command.db)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/command.db
  COMMAND ${CMAKE_COMMAND} -DSRC=${CMAKE_SOURCE_DIR}/content/command.db -DDST=${CMAKE_BINARY_DIR}/command.db
          -P ${CMAKE_SOURCE_DIR}/cmake/shipped_text.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/content/command.db ${CMAKE_SOURCE_DIR}/cmake/shipped_text.cmake)
file(GLOB shipped_macros CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/content/macros/*.tex)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/macros)
foreach(src ${shipped_macros})
  get_filename_component(name ${src} NAME)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/macros/${name}
    COMMAND ${CMAKE_COMMAND} -DSRC=${src} -DDST=${CMAKE_BINARY_DIR}/macros/${name}
            -P ${CMAKE_SOURCE_DIR}/cmake/shipped_text.cmake
    DEPENDS ${src} ${CMAKE_SOURCE_DIR}/cmake/shipped_text.cmake)
  list(APPEND shipped_content ${CMAKE_BINARY_DIR}/macros/${name})
endforeach()
add_custom_target(shipped_content ALL DEPENDS ${shipped_content})

# GoogleTest built for Windows from Debian's sources.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Stand-ins for outside programs, started by the tests.
file(GLOB standins CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/standins/*.cpp)
foreach(src ${standins})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_compile_options(${name} PRIVATE ${QUILLET_WARNINGS} ${QUILLET_CHARSET_FLAGS})
  target_link_options(${name} PRIVATE ${static_runtime})
endforeach()
# The engine, viewer and editor stand-ins use the program's file-name rules and handle owners.
# Like the programs they stand for they are window programs: WinExec waits until such a
# program first waits for input (a console program is not waited for), and no console opens.
foreach(name stand_in_engine stand_in_viewer stand_in_editor)
  target_link_libraries(${name} PRIVATE quillet_win)
  target_link_options(${name} PRIVATE -mwindows)
endforeach()

file(GLOB win_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*_test.cpp)
file(GLOB win_test_support CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/support/*.cpp)
add_library(quillet_win_test_support STATIC ${win_test_support})
target_link_libraries(quillet_win_test_support PUBLIC quillet_win gtest winspool version)
target_compile_options(quillet_win_test_support PRIVATE ${QUILLET_WARNINGS} ${QUILLET_CHARSET_FLAGS})
foreach(src ${win_tests})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_compile_options(${name} PRIVATE ${QUILLET_WARNINGS} ${QUILLET_CHARSET_FLAGS})
  target_link_libraries(${name} PRIVATE quillet_win_test_support gtest_main)
  add_dependencies(${name} help_file Quillet stand_in_engine stand_in_viewer stand_in_editor hold_file quillet-tex
    quillet-dvi stand_in_class_list stand_in_tex_tools)
  target_compile_definitions(${name} PRIVATE QUILLET_FIXTURES_DIR="Z:${CMAKE_SOURCE_DIR}/tests/fixtures")
  add_test(NAME wine.${name} COMMAND ${name})
  # One display and one clipboard: the Wine tests take turns.
  set_tests_properties(wine.${name} PROPERTIES RESOURCE_LOCK display TIMEOUT 300
    ENVIRONMENT "QUILLET_BUILD_DIR=Z:${CMAKE_BINARY_DIR}")
endforeach()

# The reference programs of the start-up benchmark, built like Quillet.exe: the least a
# program with a window does, and the window set Quillet makes at start-up alone.
add_executable(minimal_window WIN32 bench/minimal_window.cpp)
target_compile_options(minimal_window PRIVATE ${QUILLET_WARNINGS})
target_link_options(minimal_window PRIVATE ${static_runtime})
add_executable(window_set WIN32 bench/window_set.cpp)
target_compile_options(window_set PRIVATE ${QUILLET_WARNINGS} ${QUILLET_CHARSET_FLAGS})
target_link_options(window_set PRIVATE ${static_runtime})
target_link_libraries(window_set PRIVATE comctl32 gdi32)

# Faults that need an unprivileged user and a small file system: a script sets them up
# and runs the test program in them.
add_executable(save_faults_test tests/faults/save_faults_test.cpp)
target_compile_options(save_faults_test PRIVATE ${QUILLET_WARNINGS} ${QUILLET_CHARSET_FLAGS})
target_link_libraries(save_faults_test PRIVATE quillet_win_test_support gtest_main)
add_dependencies(save_faults_test help_file hold_file)
add_test(NAME wine.save_faults COMMAND ${CMAKE_SOURCE_DIR}/tools/run-save-faults ${CMAKE_BINARY_DIR})
set_tests_properties(wine.save_faults PROPERTIES RESOURCE_LOCK display TIMEOUT 600 SKIP_RETURN_CODE 77)

file(GLOB win_benches CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*_winbench.cpp)
foreach(src ${win_benches})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_compile_options(${name} PRIVATE ${QUILLET_WARNINGS} ${QUILLET_CHARSET_FLAGS} -O2)
  target_link_libraries(${name} PRIVATE quillet_win quillet_win_test_support)
  add_dependencies(${name} Quillet minimal_window window_set stand_in_engine quillet-tex quillet-dvi sample_document
                   shipped_content)
endforeach()

include(cmake/release.cmake)
