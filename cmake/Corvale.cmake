# Helpers shared by every folder of the tree.

# corvale_add_library(NAME SOURCES... [LIBS libs...])
# One static library per layer; the include root is src/ so headers are
# included as "db/Table.h", "platform/Prompter.h", ...
function(corvale_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  if(ARG_SOURCES)
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  else()
    # A layer that later work fills: it builds and links, but holds no code yet.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_LIBS})
  endif()
  set_property(GLOBAL APPEND PROPERTY CORVALE_LIBRARIES ${name})
endfunction()

# corvale_add_test(NAME SOURCES... [LIBS libs...] [LABELS labels...])
# A Qt Test executable registered with CTest, run on the offscreen platform.
# CORVALE_TEST_DATA points at tests/fixtures, never relative to the cwd.
function(corvale_add_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests
                                             ${CMAKE_SOURCE_DIR}/src)
  target_compile_definitions(${name} PRIVATE
    CORVALE_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/fixtures"
    CORVALE_BINARY_DIR="${CMAKE_BINARY_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set(env "QT_QPA_PLATFORM=offscreen"
          "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
          "ASAN_OPTIONS=detect_leaks=1"
          "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
          "QT_LOGGING_RULES=qt.qpa.*=false")
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT ${ARG_TIMEOUT})
  if(WIN32 AND NOT name IN_LIST CORVALE_LINUX_ONLY_TESTS)
    list(APPEND ARG_LABELS windows)
  endif()
  if(ARG_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
  endif()
endfunction()

# The tests that the Windows build (scripts/windows) compiles but does not run under
# Wine, each for a reason that lies in Wine or in the test's own tools, not in the code
# under test; the Linux suite runs them all.
set(CORVALE_LINUX_ONLY_TESTS
  tst_qtprompter # the system's file dialogs: Wine's stay open with nobody to close them
  tst_barcodedecode # reads the symbols back with zbarimg, a Linux program
  tst_tflabels_scan # reads the printed labels back with pdftoppm and zbarimg (Linux)
  tst_registerendtoend # the simulated registers sit on pseudo-terminals, which Windows lacks
  tst_banco_register # the same simulated registers, behind the counter-sale window
  tst_tfmain # status-line widths measured against the Linux desktop's font metrics
  tst_walk # opens every window of the demo shop: past its time limit under Wine
)

# Adds every immediate subfolder of the current folder that has a CMakeLists.txt,
# so a new folder joins the build without touching a shared file.
function(corvale_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
       ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child ${children})
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child}
       AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
