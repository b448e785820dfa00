# The texts an install carries beside the programs, and the packages made of an install:
# `cpack -G ZIP` in a Windows build folder, `cpack -G DEB` in a Linux one.
set(zz_man_pages zadaza2krano zadaza-make zadaza-view)
set(zz_examples examples/soil.txt examples/answers-sesam.txt examples/answers-knf.txt
  examples/profile.csv examples/answers-profile.txt)

if(WIN32)
  # Windows has no man: the pages go as plain text, laid out here by groff.
  find_program(ZZ_GROFF groff REQUIRED)
  set(zz_man_texts)
  foreach(page ${zz_man_pages})
    set(text ${CMAKE_BINARY_DIR}/man/${page}.txt)
    add_custom_command(OUTPUT ${text}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      COMMAND sh -c "\"${ZZ_GROFF}\" -man -Tascii -P-c -P-b -P-u \"$0\" > \"$1\""
              ${PROJECT_SOURCE_DIR}/man/${page}.1 ${text}
      DEPENDS ${PROJECT_SOURCE_DIR}/man/${page}.1
      VERBATIM)
    list(APPEND zz_man_texts ${text})
  endforeach()
  add_custom_target(man-pages ALL DEPENDS ${zz_man_texts})
  install(FILES ${zz_man_texts} DESTINATION man)
  install(FILES README.md DESTINATION .)
else()
  list(TRANSFORM zz_man_pages APPEND .1 OUTPUT_VARIABLE zz_roff_pages)
  list(TRANSFORM zz_roff_pages PREPEND man/)
  install(FILES ${zz_roff_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
install(FILES docs/guide.md CHANGELOG.md DESTINATION ${zz_doc_dir})
# What zadaza-make --help points to: the description format and a whole description with the
# answers that convert it.
install(FILES tools/zadaza_make/README.md DESTINATION ${zz_doc_dir} RENAME zadaza-make-format.md)
install(FILES ${zz_examples} DESTINATION ${zz_doc_dir}/examples)

set(CPACK_PACKAGE_NAME zadaza2krano)
set(CPACK_PACKAGE_VENDOR "zadaza2krano developers")
set(CPACK_PACKAGE_CONTACT "zadaza2krano developers <zadaza2krano@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Converts ZADAZA pile-soil files (P-y, T-z, Q-z curves) into KRANO soil files")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "zadaza2krano reads a binary ZADAZA pile-soil data file, turns its resistance curves into "
    "spring materials and soil characteristic records, and writes them as a KRANO soil file in "
    "SESAM records or KNF, with an optional echo report. zadaza-make writes ZADAZA files from a "
    "text description; zadaza-view draws the curves on an HTML page.")
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_PACKAGE_CHECKSUM SHA256)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-windows-x64)
else()
  set(CPACK_GENERATOR DEB)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
