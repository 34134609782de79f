# Run at install time: refreshes the MIME and desktop-entry caches of the
# prefix, so a file manager knows the contents-file type and offers "Open
# with Zavio". A staged install (DESTDIR) leaves that to the package's
# triggers; a missing tool is only reported.
if(NOT "$ENV{DESTDIR}" STREQUAL "")
  return()
endif()
# ZAVIO_DATA_DIR: the data folder below the prefix, set by the install.
set(data "${CMAKE_INSTALL_PREFIX}/${ZAVIO_DATA_DIR}")
foreach(tool_folder "update-mime-database;mime" "update-desktop-database;applications")
  list(GET tool_folder 0 tool)
  list(GET tool_folder 1 folder)
  find_program(path_${tool} ${tool})
  if(path_${tool})
    execute_process(COMMAND ${path_${tool}} "${data}/${folder}" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(STATUS "${tool} ${data}/${folder} failed (${result})")
    endif()
  else()
    message(STATUS "${tool} not found: ${data}/${folder} not refreshed")
  endif()
endforeach()
