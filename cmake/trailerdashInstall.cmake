# Installing the game: the program in <prefix>/bin and the pictures the build drew in
# <prefix>/share/trailerdash/images, where the game looks when "images" is neither in the
# working folder nor beside the program; a desktop entry and the icon where desktops look for
# them. `make package` (CPack) wraps the same files in a .deb installing under /usr.
include(GNUInstallDirs)
set(TD_INSTALL_DATA_DIR ${CMAKE_INSTALL_FULL_DATADIR}/trailerdash)
target_compile_definitions(td_app_obj PRIVATE TD_INSTALL_DATA_DIR="${TD_INSTALL_DATA_DIR}")

install(TARGETS trailerdash RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/images DESTINATION ${CMAKE_INSTALL_DATADIR}/trailerdash
  OPTIONAL PATTERN ".assetgen.stamp" EXCLUDE)
# The courses shipped with the game, as course files beside the pictures.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/courses DESTINATION ${CMAKE_INSTALL_DATADIR}/trailerdash)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/trailerdash.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 64 256)
  install(FILES ${CMAKE_BINARY_DIR}/icons/${size}x${size}/trailerdash.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps OPTIONAL)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trailerdash)
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "top-down racing game for articulated trucks")
set(CPACK_PACKAGE_CONTACT "Trailer Dash <games@trailerdash.invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The libraries the program links (SDL2, GL, GLU) become the package's dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
