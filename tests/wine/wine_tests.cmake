# The Windows executable under Wine (label "wine"). They run the build of the windows preset,
# which scripts/test builds before ctest: QUIRNEL_ADDRVUE.exe, the UI driver and the stand-in
# iphlpapi.dll. One Wine prefix serves the runs: made by wine.prefix, removed by wine.cleanup.
set(ADDRVUE_WINDOWS_BUILD_DIR "${PROJECT_SOURCE_DIR}/build/windows" CACHE PATH
    "Build tree of the windows preset, whose programs the Wine tests run")
set(wine_tests ${CMAKE_CURRENT_SOURCE_DIR}/wine)
set(wine_runs ${wine_tests}/wine_runs.sh)
set(wine_prefix ${CMAKE_BINARY_DIR}/wine/prefix)

add_test(NAME wine.resources COMMAND /usr/bin/python3 ${wine_tests}/check_resources.py
                                     ${ADDRVUE_WINDOWS_BUILD_DIR}/QUIRNEL_ADDRVUE.exe)
add_test(NAME wine.prefix COMMAND ${wine_runs} prefix ${wine_prefix})
foreach(run fixtures options own)
  add_test(NAME wine.${run} COMMAND ${wine_runs} ${run} ${wine_prefix} ${ADDRVUE_WINDOWS_BUILD_DIR}
                                    ${CMAKE_BINARY_DIR}/wine/${run})
endforeach()
add_test(NAME wine.cleanup COMMAND ${wine_runs} cleanup ${wine_prefix})

set_tests_properties(wine.resources wine.prefix wine.fixtures wine.options wine.own wine.cleanup
                     PROPERTIES LABELS wine SKIP_RETURN_CODE 77)
set_tests_properties(wine.prefix PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 120)
set_tests_properties(wine.cleanup PROPERTIES FIXTURES_CLEANUP wine_prefix TIMEOUT 60)
# Both use the prefix's one Wine server, and the namespace run needs it started afresh.
set_tests_properties(wine.fixtures wine.options wine.own PROPERTIES
                     FIXTURES_REQUIRED wine_prefix RESOURCE_LOCK wine_prefix TIMEOUT 240)
