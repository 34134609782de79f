# Run by CPack on the staged files before it packs them: Debian's layout for
# what a plain install leaves as it is. The licence is the package's
# copyright file; the Debian changelog names the version and its date as
# CHANGELOG.md gives them; it and the manual pages are compressed (gzip -n:
# no name or time inside, so the package is the same from one build to the
# next).
set(usr "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
set(doc "${usr}/share/doc/zavio")
file(RENAME "${doc}/LICENSE" "${doc}/copyright")

file(STRINGS "${doc}/CHANGELOG.md" heading REGEX "^## \\[${CPACK_PACKAGE_VERSION}\\] - ")
if(NOT heading MATCHES " - ([0-9]+-[0-9]+-[0-9]+)$")
  message(FATAL_ERROR "CHANGELOG.md has no entry \"## [${CPACK_PACKAGE_VERSION}] - YYYY-MM-DD\"")
endif()
execute_process(COMMAND date -R -u -d "${CMAKE_MATCH_1}" OUTPUT_VARIABLE date OUTPUT_STRIP_TRAILING_WHITESPACE)
file(WRITE "${doc}/changelog"
  "zavio (${CPACK_PACKAGE_VERSION}) stable; urgency=medium\n\n"
  "  * Zavio ${CPACK_PACKAGE_VERSION}: see /usr/share/doc/zavio/CHANGELOG.md.\n\n"
  " -- ${CPACK_PACKAGE_CONTACT}  ${date}\n")

file(GLOB pages "${usr}/share/man/man1/*.1")
foreach(file ${pages} "${doc}/changelog")
  execute_process(COMMAND gzip -9nf "${file}" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip ${file} failed (${result})")
  endif()
endforeach()
