# Installing the game: the program in <prefix>/bin and the pictures the build drew in
# <prefix>/share/trailerdash/images, where the game looks when "images" is neither in the
# working folder nor beside the program.
include(GNUInstallDirs)
set(TD_INSTALL_DATA_DIR ${CMAKE_INSTALL_FULL_DATADIR}/trailerdash)
target_compile_definitions(td_app_obj PRIVATE TD_INSTALL_DATA_DIR="${TD_INSTALL_DATA_DIR}")

install(TARGETS trailerdash RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/images DESTINATION ${CMAKE_INSTALL_DATADIR}/trailerdash
  OPTIONAL PATTERN ".assetgen.stamp" EXCLUDE)
