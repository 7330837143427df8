# The release check: the installer and portable zip that `make dist` made are installed,
# started, uninstalled and unpacked as a user would, in a fresh Wine prefix of an
# unprivileged user whose Windows directory cannot be written. Skipped when not root.
add_test(NAME wine.release_check COMMAND ${CMAKE_SOURCE_DIR}/tools/release-check ${CMAKE_SOURCE_DIR}/dist ${CMAKE_BINARY_DIR})
set_tests_properties(wine.release_check PROPERTIES RESOURCE_LOCK display TIMEOUT 400 SKIP_RETURN_CODE 77)
