# Fails when the core library's layers include what they must not: a Qt
# header anywhere in the core (it builds and runs without Qt); the pipeline
# (convert) and the readers of other manuscript forms (rtf, project)
# including the application or the documents; the documents including the
# pipeline. The include graph is the architecture's guard.
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
  ${ROOT}/src/project/* ${ROOT}/src/rtf/*)
check_includes("${core_files}" "[<\"]Q[A-Za-z]*[/>\"]" "Qt headers in the core library")
file(GLOB pipeline_files ${ROOT}/src/convert/*)
check_includes("${pipeline_files}" "\"(app|doc|ui|cli)/" "The pipeline includes the application or the documents")
file(GLOB reader_files ${ROOT}/src/project/* ${ROOT}/src/rtf/*)
check_includes("${reader_files}" "\"(app|doc|convert|ui|cli)/" "A manuscript reader includes the layers above it")
file(GLOB document_files ${ROOT}/src/doc/*)
check_includes("${document_files}" "\"convert/" "The documents include the pipeline")
