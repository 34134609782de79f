# Fails when a file of the core library includes a Qt header: the core must
# build and run without Qt.
file(GLOB_RECURSE core_files
  ${ROOT}/src/framework/* ${ROOT}/src/res/* ${ROOT}/src/app/* ${ROOT}/src/doc/* ${ROOT}/src/convert/* ${ROOT}/src/cli/* ${ROOT}/src/project/*)
set(offenders "")
foreach(f ${core_files})
  file(STRINGS ${f} hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]Q[A-Za-z]*[/>\"]")
  if(hits)
    list(APPEND offenders "${f}: ${hits}")
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "Qt headers in the core library:\n${offenders}")
endif()

# The project reader stands on the framework alone, below the pipeline.
file(GLOB project_files ${ROOT}/src/project/*)
foreach(f ${project_files})
  file(STRINGS ${f} hits REGEX "^[ \t]*#[ \t]*include[ \t]*\"(app|doc|convert|ui|cli)/")
  if(hits)
    list(APPEND offenders "${f}: ${hits}")
  endif()
endforeach()
if(offenders)
  message(FATAL_ERROR "The project reader includes the layers above it:\n${offenders}")
endif()
