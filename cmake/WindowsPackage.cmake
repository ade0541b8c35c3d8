# The Windows download: Velmora-<version>-win64.zip holds Velmora.exe alone, linked statically,
# to be unpacked beside ZINC.EXE. Made in the build folder with `cpack -G ZIP`.
install(TARGETS Velmora RUNTIME DESTINATION . COMPONENT program)

set(CPACK_PACKAGE_NAME Velmora)
set(CPACK_PACKAGE_VENDOR Velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Velmora-${PROJECT_VERSION}-win64)
set(CPACK_GENERATOR ZIP)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_COMPONENTS_ALL program)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
set(CPACK_STRIP_FILES ON)
include(CPack)
