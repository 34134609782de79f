# Run after a Qt Test executable is built: registers each of its test
# functions as a CTest test of its own, so that one that skips is shown
# skipped, with the reason in its output, while the others count as passed.
# Arguments: EXE (the executable), NAME (its name), OUT (the file CTest reads).
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${EXE} -functions
                OUTPUT_VARIABLE listing RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${EXE} -functions failed (${result})")
endif()
string(REGEX MATCHALL "[A-Za-z_][A-Za-z_0-9]*\\(\\)" functions "${listing}")
set(tests "")
foreach(function ${functions})
  string(REPLACE "()" "" function ${function})
  string(APPEND tests
    "add_test([=[gui.${NAME}.${function}]=] [=[${EXE}]=] [=[${function}]=])\n"
    "set_tests_properties([=[gui.${NAME}.${function}]=] PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen"
    " TIMEOUT 120 LABELS gui SKIP_REGULAR_EXPRESSION [=[SKIP   : ]=])\n")
endforeach()
file(WRITE ${OUT} "${tests}")
