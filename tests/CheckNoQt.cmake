# Fails when a file of the core library includes a Qt header: the core must
# build and run without Qt. The project reader stands on the framework alone,
# below the pipeline.
function(check_includes files regex what)
  set(offenders "")
  foreach(f ${files})
    file(STRINGS ${f} hits REGEX "^[ \t]*#[ \t]*include[ \t]*${regex}")
    if(hits)
      list(APPEND offenders "${f}: ${hits}")
    endif()
  endforeach()
  if(offenders)
    message(FATAL_ERROR "${what}:\n${offenders}")
  endif()
endfunction()

file(GLOB_RECURSE core_files
  ${ROOT}/src/framework/* ${ROOT}/src/res/* ${ROOT}/src/app/* ${ROOT}/src/doc/* ${ROOT}/src/convert/* ${ROOT}/src/cli/*
  ${ROOT}/src/project/*)
check_includes("${core_files}" "[<\"]Q[A-Za-z]*[/>\"]" "Qt headers in the core library")
file(GLOB project_files ${ROOT}/src/project/*)
check_includes("${project_files}" "\"(app|doc|convert|ui|cli)/" "The project reader includes the layers above it")
