# The installation package: the ZIP and the 64-bit NSIS installer, both made by CPack
# from the install() rules below and those of every target that declares its own.
# Layout of an installation folder (TARNWICK_DIR):
#   startup\   what the host loads: the plug-in and its menu file
#   data\      the user's table and settings; the installer fills in only missing files
#   docs\      the guides; LICENSE.txt and THIRD-PARTY-NOTICES.txt beside them
install(TARGETS Tarnwick RUNTIME DESTINATION startup LIBRARY DESTINATION startup)
install(FILES resources/tarnwick.men DESTINATION startup)
install(FILES data/button_id.ini data/chick.ini data/Tarnwick.macro DESTINATION data)
install(FILES docs/install.md docs/guide.md docs/editor.png DESTINATION docs)
install(FILES LICENSE DESTINATION . RENAME LICENSE.txt)
install(FILES THIRD-PARTY-NOTICES.txt DESTINATION .)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Tarnwick)
set(CPACK_PACKAGE_VENDOR Tarnwick)
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_PACKAGE_FILE_NAME Tarnwick-1.0.0-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# Installed programs carry no symbols or debug information (CMAKE_INSTALL_DO_STRIP).
set(CPACK_STRIP_FILES TRUE)
# The installer is built from the project's own template, cmake/NSIS.template.in; its
# file lists are written by cmake/nsis-files.cmake from what was staged.
list(PREPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/nsis-files.cmake)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
include(CPack)
