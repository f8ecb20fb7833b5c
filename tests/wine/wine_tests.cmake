# The Windows executables under Wine: label "wine" runs the i686 build (the windows preset) on
# Wine's 32-bit loader, label "wine64" the x64 build (the windows-x64 preset) on its 64-bit loader.
# scripts/test builds both before ctest: QUIRNEL_ADDRVUE.exe, the UI driver and the stand-in
# iphlpapi.dll of each. Each layer has its own Wine prefix, made by LAYER.prefix and removed by
# LAYER.cleanup; each probes its own loader and skips, with the reason, where it cannot run.
set(ADDRVUE_WINDOWS_BUILD_DIR "${PROJECT_SOURCE_DIR}/build/windows" CACHE PATH
    "Build tree of the windows preset, whose programs the wine tests run")
set(ADDRVUE_WINDOWS_X64_BUILD_DIR "${PROJECT_SOURCE_DIR}/build/windows-x64" CACHE PATH
    "Build tree of the windows-x64 preset, whose programs the wine64 tests run")
set(wine_runs ${CMAKE_CURRENT_SOURCE_DIR}/wine/wine_runs.sh)

# wine_layer(LABEL WINEARCH MANIFEST_ARCHITECTURE BUILD_DIR)
function(wine_layer layer arch manifest build)
  set(prefix ${CMAKE_BINARY_DIR}/${layer}/prefix)
  add_test(NAME ${layer}.resources
           COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/wine/check_resources.py
                   ${build}/QUIRNEL_ADDRVUE.exe ${manifest})
  add_test(NAME ${layer}.prefix COMMAND ${wine_runs} prefix ${arch} ${prefix})
  foreach(run fixtures options own)
    add_test(NAME ${layer}.${run} COMMAND ${wine_runs} ${run} ${arch} ${prefix} ${build}
                                          ${CMAKE_BINARY_DIR}/${layer}/${run})
  endforeach()
  add_test(NAME ${layer}.cleanup COMMAND ${wine_runs} cleanup ${arch} ${prefix})

  set(tests ${layer}.resources ${layer}.prefix ${layer}.fixtures ${layer}.options ${layer}.own
            ${layer}.cleanup)
  set_tests_properties(${tests} PROPERTIES LABELS ${layer} SKIP_RETURN_CODE 77)
  set_tests_properties(${layer}.prefix PROPERTIES FIXTURES_SETUP ${layer}_prefix TIMEOUT 120)
  set_tests_properties(${layer}.cleanup PROPERTIES FIXTURES_CLEANUP ${layer}_prefix TIMEOUT 60)
  set_tests_properties(${layer}.fixtures ${layer}.options ${layer}.own PROPERTIES
                       FIXTURES_REQUIRED ${layer}_prefix TIMEOUT 240)
  # One at a time across both layers: the namespace run needs its prefix's server started afresh,
  # and it counts the processor time of every Wine server and program on the machine.
  set_tests_properties(${layer}.prefix ${layer}.fixtures ${layer}.options ${layer}.own ${layer}.cleanup
                       PROPERTIES RESOURCE_LOCK wine_processes)
endfunction()

wine_layer(wine win32 x86 ${ADDRVUE_WINDOWS_BUILD_DIR})
wine_layer(wine64 win64 amd64 ${ADDRVUE_WINDOWS_X64_BUILD_DIR})
