# cmake --install: the program, its full-screen build and the release tools in libexec/taluvine,
# data/ in share/taluvine, launchers in bin/ that start them from the data folder, a desktop
# entry and an icon. cpack -G DEB packs the same tree, with Depends from the libraries linked.
include(GNUInstallDirs)
set(QVL_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/taluvine)
set(QVL_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/taluvine)

install(TARGETS qvl_taluvine qvl_taluvine_fullscreen RUNTIME DESTINATION ${QVL_PROGRAM_DIR})
foreach(tool qvl_capture qvl_preview)
  if(TARGET ${tool})
    install(TARGETS ${tool} RUNTIME DESTINATION ${QVL_PROGRAM_DIR} OPTIONAL)
  endif()
endforeach()
install(DIRECTORY ${QVL_DATA_DIR}/ DESTINATION ${QVL_SHARE_DIR}/data)

file(RELATIVE_PATH QVL_DATA_FROM_BIN /p/${CMAKE_INSTALL_BINDIR} /p/${QVL_SHARE_DIR})
foreach(launcher taluvine:qvl_taluvine taluvine-fullscreen:qvl_taluvine_fullscreen taluvine-preview:qvl_preview)
  string(REPLACE ":" ";" pair ${launcher})
  list(GET pair 0 name)
  list(GET pair 1 QVL_LAUNCHED)
  file(RELATIVE_PATH QVL_PROGRAM_FROM_BIN /p/${CMAKE_INSTALL_BINDIR} /p/${QVL_PROGRAM_DIR}/${QVL_LAUNCHED})
  configure_file(${CMAKE_SOURCE_DIR}/tools/install/launcher.sh.in ${CMAKE_BINARY_DIR}/launchers/${name} @ONLY)
  install(PROGRAMS ${CMAKE_BINARY_DIR}/launchers/${name} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

set(QVL_ICON ${CMAKE_BINARY_DIR}/taluvine.png)
add_custom_command(OUTPUT ${QVL_ICON} COMMAND qvl_assetgen --icon ${QVL_ICON} DEPENDS qvl_assetgen
                   COMMENT "Drawing the desktop icon")
add_custom_target(qvl_icon ALL DEPENDS ${QVL_ICON})
install(FILES ${QVL_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES ${CMAKE_SOURCE_DIR}/tools/install/taluvine.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

set(CPACK_PACKAGE_NAME taluvine)
set(CPACK_PACKAGE_VENDOR Quorvel)
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_PACKAGE_CONTACT "Quorvel <taluvine@quorvel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Real-time audiovisual demo in five scenes with its own soundtrack")
set(CPACK_PACKAGE_DESCRIPTION "Taluvine opens an OpenGL window, plays its own soundtrack and shows a
172-second programme of five scenes in step with the music. Start it with taluvine
(windowed) or taluvine-fullscreen; Escape quits.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# Depends are worked out by dpkg-shlibdeps from the shared libraries the programs link.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A GL driver is loaded at run time, not linked; the tools call ffmpeg and gnuplot.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "ffmpeg, gnuplot-nox")
include(CPack)
