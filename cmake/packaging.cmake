# Where `cmake --install` puts the tool, and the package CPack makes of it.
if(WIN32)
  # A Windows program lives in a folder of its own (C:/Program Files/corvane
  # by default), the README beside it; the package is a zip of that folder,
  # corvane-<version>-win64.zip.
  install(TARGETS corvane RUNTIME DESTINATION .)
  install(FILES README.md DESTINATION .)
  set(CPACK_GENERATOR ZIP)
else()
  include(GNUInstallDirs)
  install(TARGETS corvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
  set(CPACK_GENERATOR TGZ)
endif()
set(CPACK_PACKAGE_VENDOR "The Corvane authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Hear the error that rounding a recording to 16 bits adds")
include(CPack)
