# The Windows executable under Wine (label "wine"). They run the build of the windows preset,
# which scripts/test builds before ctest: QUIRNEL_ADDRVUE.exe, the UI driver and the stand-in
# iphlpapi.dll. One Wine prefix serves the whole run: made by wine.prefix, removed by
# wine.prefix_cleanup.
set(ADDRVUE_WINDOWS_BUILD_DIR "${PROJECT_SOURCE_DIR}/build/windows" CACHE PATH
    "Build tree of the windows preset, whose programs the Wine tests run")
set(wine_scripts ${CMAKE_CURRENT_SOURCE_DIR}/wine)
set(wine_work ${CMAKE_BINARY_DIR}/wine)
set(wine_prefix ${wine_work}/prefix)

add_test(NAME wine.resources
         COMMAND /usr/bin/python3 ${wine_scripts}/check_resources.py
                 ${ADDRVUE_WINDOWS_BUILD_DIR}/QUIRNEL_ADDRVUE.exe)
add_test(NAME wine.prefix COMMAND ${wine_scripts}/make_prefix.sh ${wine_prefix})
add_test(NAME wine.fixture_runs
         COMMAND ${wine_scripts}/run_fixtures.sh ${wine_prefix} ${ADDRVUE_WINDOWS_BUILD_DIR}
                 $<TARGET_FILE:fixture-transcript> ${wine_work}/fixtures)
add_test(NAME wine.own_ip_helper
         COMMAND ${wine_scripts}/own_ip_helper.sh ${wine_prefix} ${ADDRVUE_WINDOWS_BUILD_DIR}
                 ${wine_work}/own_ip_helper)
add_test(NAME wine.prefix_cleanup COMMAND ${wine_scripts}/remove_prefix.sh ${wine_prefix})

set_tests_properties(wine.resources wine.prefix wine.fixture_runs wine.own_ip_helper
                     wine.prefix_cleanup PROPERTIES LABELS wine SKIP_RETURN_CODE 77)
set_tests_properties(wine.prefix PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 120)
set_tests_properties(wine.prefix_cleanup PROPERTIES FIXTURES_CLEANUP wine_prefix TIMEOUT 60)
# Both use the prefix's one Wine server, and the namespace run needs it started afresh.
set_tests_properties(wine.fixture_runs wine.own_ip_helper PROPERTIES
                     FIXTURES_REQUIRED wine_prefix RESOURCE_LOCK wine_prefix TIMEOUT 240)
