# Installing the game: the program in <prefix>/bin and the pictures the build drew in
# <prefix>/share/trailerdash/images, where the game looks when "images" is neither in the
# working folder nor beside the program; a desktop entry, its AppStream metainfo and the icon
# where desktops and software centres look for them; the manual page. `make package` (CPack)
# wraps the same files in a .deb installing under /usr.
include(GNUInstallDirs)
set(TD_INSTALL_DATA_DIR ${CMAKE_INSTALL_FULL_DATADIR}/trailerdash)
target_compile_definitions(td_app_obj PRIVATE TD_INSTALL_DATA_DIR="${TD_INSTALL_DATA_DIR}")

install(TARGETS trailerdash RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/images DESTINATION ${CMAKE_INSTALL_DATADIR}/trailerdash
  OPTIONAL PATTERN ".assetgen.stamp" EXCLUDE)
# The courses shipped with the game, as course files beside the pictures.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/courses DESTINATION ${CMAKE_INSTALL_DATADIR}/trailerdash)
# The build tree is a data folder too (images/ beside the game): the courses go beside them there.
file(GLOB TD_SHIPPED_COURSES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/courses/*.course)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/courses/.stamp
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data/courses ${CMAKE_BINARY_DIR}/courses
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/courses/.stamp
  DEPENDS ${TD_SHIPPED_COURSES} VERBATIM)
add_custom_target(td_shipped_courses ALL DEPENDS ${CMAKE_BINARY_DIR}/courses/.stamp)
add_dependencies(trailerdash td_shipped_courses)
# The studio's time attack runs (tools/studio-ghosts.sh makes them), beside the courses.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/studio DESTINATION ${CMAKE_INSTALL_DATADIR}/trailerdash)
file(GLOB TD_STUDIO_RUNS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/studio/*.replay)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/studio/.stamp
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data/studio ${CMAKE_BINARY_DIR}/studio
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/studio/.stamp
  DEPENDS ${TD_STUDIO_RUNS} VERBATIM)
add_custom_target(td_studio_runs ALL DEPENDS ${CMAKE_BINARY_DIR}/studio/.stamp)
add_dependencies(trailerdash td_studio_runs)
# Software centres pair the metainfo with the desktop entry by the file's name: both carry the
# component's reverse-DNS ID.
set(TD_APP_ID org.example.trailerdash)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${TD_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${TD_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# Compressed as Debian wants manual pages: best compression, no name or time in the header.
set(TD_MAN_PAGE ${CMAKE_BINARY_DIR}/man/trailerdash.6.gz)
add_custom_command(OUTPUT ${TD_MAN_PAGE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
  COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${CMAKE_SOURCE_DIR}/packaging/trailerdash.6 ${TD_MAN_PAGE}
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/trailerdash.6 VERBATIM)
add_custom_target(td_man_page ALL DEPENDS ${TD_MAN_PAGE})
install(FILES ${TD_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
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
