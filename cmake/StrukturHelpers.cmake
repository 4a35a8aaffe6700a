# SPDX-License-Identifier: GPL-3.0-or-later
# struktur_add_test(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>] [GUI])
# Adds one QtTest executable and registers it with CTest. Every test gets its own temporary
# program folder through KVARNOLT_DIR, set by the test itself; GUI tests run offscreen.
function(struktur_add_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    STRUKTUR_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    STRUKTUR_SHARED_DIR="${PROJECT_SOURCE_DIR}/../shared")
  add_test(NAME ${name} COMMAND ${name})
  set(env "QT_QPA_PLATFORM=offscreen" "LC_ALL=C.UTF-8" "QT_LOGGING_RULES=qt.qpa.*=false")
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

# struktur_add_fuzzer(<name> SOURCES <files...> LIBS <targets...>)
function(struktur_add_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()
