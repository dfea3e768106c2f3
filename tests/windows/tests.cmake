# The Windows build's tests, run under Wine by scripts/wine-run (the
# toolchain's emulator), each in a Wine prefix of its own: a copy of one that
# wineboot makes first, in which nothing has run.
set(VELDRIX_WINE_TEMPLATE ${CMAKE_CURRENT_BINARY_DIR}/wine-template)
add_test(NAME wine_prefix
  COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --template ${VELDRIX_WINE_TEMPLATE})
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine_prefix)

veldrix_test(tst_protocol veldrix_link)
veldrix_test(tst_window veldrix_core)
add_dependencies(tst_window veldrix_catalogues)

set_tests_properties(tst_protocol tst_window PROPERTIES
  FIXTURES_REQUIRED wine_prefix ENVIRONMENT VELDRIX_WINE_TEMPLATE=${VELDRIX_WINE_TEMPLATE})
