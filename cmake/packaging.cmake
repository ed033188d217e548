# Where `cmake --install` puts the tool, and the package CPack makes of it.
if(WIN32)
  # A Windows program lives in a folder of its own (C:/Program Files/corvane
  # by default), the README and the licence beside it; the package is a zip
  # of that folder, corvane-<version>-win64.zip.
  install(TARGETS corvane RUNTIME DESTINATION .)
  install(FILES README.md LICENSE DESTINATION .)
  set(CPACK_GENERATOR ZIP)
else()
  # The tool in bin/, the README and the licence in share/doc/corvane/, so
  # that the archive unpacked into /usr/local or ~/.local puts each where the
  # system looks for it. The package is corvane-<version>-linux-<processor>
  # .tar.gz: linux-x86_64, linux-aarch64.
  include(GNUInstallDirs)
  install(TARGETS corvane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES README.md LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
  set(CPACK_GENERATOR TGZ)
  string(TOLOWER "${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}" CPACK_SYSTEM_NAME)
endif()
set(CPACK_PACKAGE_VENDOR "The Corvane authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Hear the error that rounding a recording to 16 bits adds")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
# Beside every package, its SHA-256 sum as `sha256sum -c` reads it.
set(CPACK_PACKAGE_CHECKSUM SHA256)
include(CPack)
