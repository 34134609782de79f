# Makes the program's own help from the sample manuscript with zavio-convert:
#   KIND=hp   homepage-type pages and Zavio.htm into OUT/Help
#   KIND=chm  an HTML Help project compiled by chmcmd into OUT/Zavio.chm
# Arguments: CONVERT (zavio-convert), CHMCMD, SAMPLES (folder with manual.htm
# and Zavio.cnt), WORK (scratch folder), OUT (the program folder).
cmake_minimum_required(VERSION 3.20)

set(folder ${WORK}/${KIND}/Help)
file(REMOVE_RECURSE ${WORK}/${KIND})
file(MAKE_DIRECTORY ${folder})
file(COPY ${SAMPLES}/manual.htm ${SAMPLES}/Zavio.cnt DESTINATION ${folder})

if(KIND STREQUAL "hp")
  set(option --hp-type)
else()
  set(option --html-help)
endif()
execute_process(COMMAND ${CONVERT} ${option} ${folder}/manual.htm ${folder}/Zavio.cnt
                WORKING_DIRECTORY ${folder}
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE messages)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "zavio-convert ${option} failed (${result}):\n${messages}")
endif()

if(KIND STREQUAL "hp")
  file(REMOVE_RECURSE ${OUT}/Help)
  file(COPY ${folder} DESTINATION ${OUT})
  return()
endif()

file(GLOB projects ${folder}/*.hhp)
list(LENGTH projects count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one HTML Help project in ${folder}, found: ${projects}")
endif()
execute_process(COMMAND ${CHMCMD} ${projects}
                WORKING_DIRECTORY ${folder}
                RESULT_VARIABLE result OUTPUT_VARIABLE log ERROR_VARIABLE log)
file(GLOB compiled ${folder}/*.chm)
if(NOT result EQUAL 0 OR NOT compiled)
  message(FATAL_ERROR "chmcmd failed (${result}):\n${log}")
endif()
list(GET compiled 0 chm)
file(COPY_FILE ${chm} ${OUT}/Zavio.chm)
