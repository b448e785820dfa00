# The texts an install carries beside the programs, and the packages made of an install:
# `cpack -G ZIP` in a Windows build folder, `cpack -G DEB` in a Linux one.
set(zz_man_pages zadaza2krano zadaza-make zadaza-view)
set(zz_examples examples/soil.txt examples/answers-sesam.txt examples/answers-knf.txt
  examples/profile.csv examples/answers-profile.txt)
# Who answers for the packages: named in the Debian package, its changelog and its copyright.
set(ZZ_PACKAGE_CONTACT "zadaza2krano developers <zadaza2krano@example.org>" CACHE STRING
    "The maintainer of the packages, as Name <address>")

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
  # The README of the ZIP is for its users: what the folder holds and how to run it there.
  install(FILES packaging/README-windows.md DESTINATION . RENAME README.md)
else()
  # Compressed as Debian wants them: gzip at its best, without the name and time of the file,
  # so that the same page gives the same bytes.
  find_program(ZZ_GZIP gzip REQUIRED)
  function(zz_gzip source output)
    add_custom_command(OUTPUT ${output}
      COMMAND sh -c "\"${ZZ_GZIP}\" -9n -c \"$0\" > \"$1\"" ${source} ${output}
      DEPENDS ${source}
      VERBATIM)
  endfunction()
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/man)
  set(zz_man_gzipped)
  foreach(page ${zz_man_pages})
    set(gzipped ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
    zz_gzip(${PROJECT_SOURCE_DIR}/man/${page}.1 ${gzipped})
    list(APPEND zz_man_gzipped ${gzipped})
  endforeach()
  # The package's own changelog, in Debian's form, beside its copyright statement.
  configure_file(packaging/changelog.in ${CMAKE_BINARY_DIR}/changelog @ONLY)
  configure_file(packaging/copyright.in ${CMAKE_BINARY_DIR}/copyright @ONLY)
  set(zz_changelog ${CMAKE_BINARY_DIR}/changelog.gz)
  zz_gzip(${CMAKE_BINARY_DIR}/changelog ${zz_changelog})
  add_custom_target(man-pages ALL DEPENDS ${zz_man_gzipped} ${zz_changelog})
  install(FILES ${zz_man_gzipped} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${zz_changelog} ${CMAKE_BINARY_DIR}/copyright DESTINATION ${zz_doc_dir})
  if(ZZ_STATIC_LINK)
    install(FILES packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
            RENAME zadaza2krano)
  endif()
endif()
install(FILES docs/guide.md CHANGELOG.md DESTINATION ${zz_doc_dir})
# What zadaza-make --help points to: the description format and a whole description with the
# answers that convert it.
install(FILES tools/zadaza_make/README.md DESTINATION ${zz_doc_dir} RENAME zadaza-make-format.md)
install(FILES ${zz_examples} DESTINATION ${zz_doc_dir}/examples)

set(CPACK_PACKAGE_NAME zadaza2krano)
set(CPACK_PACKAGE_VENDOR "zadaza2krano developers")
set(CPACK_PACKAGE_CONTACT ${ZZ_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Converts ZADAZA pile-soil files (P-y, T-z, Q-z curves) into KRANO soil files")
# Lines of at most 80 characters, as Debian wants them.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "zadaza2krano reads a binary ZADAZA pile-soil data file, turns its resistance\n"
    "curves into spring materials and soil characteristic records, and writes them\n"
    "as a KRANO soil file in SESAM records or KNF, with an optional echo report.\n"
    "zadaza-make writes ZADAZA files from a text description; zadaza-view draws\n"
    "the curves on an HTML page.")
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
# The programs of a package carry no symbols: a user has no use for them, and Debian wants
# them stripped.
set(CPACK_STRIP_FILES ON)
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
