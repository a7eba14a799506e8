# cmake --install: the program, its full-screen build and the release tools in libexec/taluvine,
# data/ in share/games/taluvine, launchers that start them from the data folder, manual pages,
# the release notes, a desktop entry and an icon. cpack -G DEB packs the same tree, with Depends
# from the libraries linked.
#
# Installed into /usr (what cpack does for the .deb) the launchers go to games/, where Debian
# keeps games; under any other prefix (~/.local, /usr/local) to bin/, which is on the PATH there.
include(GNUInstallDirs)
# Folders made by the install get the same mode whatever the umask of whoever installs or packs.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(QVL_PROGRAM_DIR ${CMAKE_INSTALL_LIBEXECDIR}/taluvine)
set(QVL_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/games/taluvine)
set(QVL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/taluvine)
set(QVL_RELEASE_DIR ${CMAKE_SOURCE_DIR}/tools/release)

install(TARGETS qvl_taluvine qvl_taluvine_fullscreen RUNTIME DESTINATION ${QVL_PROGRAM_DIR})
foreach(tool qvl_capture qvl_preview)
  if(TARGET ${tool})
    install(TARGETS ${tool} RUNTIME DESTINATION ${QVL_PROGRAM_DIR} OPTIONAL)
  endif()
endforeach()
install(DIRECTORY ${QVL_DATA_DIR}/ DESTINATION ${QVL_SHARE_DIR}/data)

# One set of launchers per place they may go, each with its own paths back to the programs.
set(QVL_LAUNCHERS taluvine:qvl_taluvine taluvine-fullscreen:qvl_taluvine_fullscreen taluvine-preview:qvl_preview)
foreach(launcher_dir ${CMAKE_INSTALL_BINDIR} games)
  file(RELATIVE_PATH QVL_DATA_FROM_BIN /p/${launcher_dir} /p/${QVL_SHARE_DIR})
  foreach(launcher ${QVL_LAUNCHERS})
    string(REPLACE ":" ";" pair ${launcher})
    list(GET pair 0 name)
    list(GET pair 1 QVL_LAUNCHED)
    file(RELATIVE_PATH QVL_PROGRAM_FROM_BIN /p/${launcher_dir} /p/${QVL_PROGRAM_DIR}/${QVL_LAUNCHED})
    configure_file(${CMAKE_SOURCE_DIR}/tools/install/launcher.sh.in
                   ${CMAKE_BINARY_DIR}/launchers/${launcher_dir}/${name} @ONLY)
  endforeach()
endforeach()
# cpack installs with CMAKE_INSTALL_PREFIX /usr and DESTDIR set, so the choice is made here, at
# install time, from the prefix the tree is installed under.
set(QVL_LAUNCHER_NAMES ${QVL_LAUNCHERS})
list(TRANSFORM QVL_LAUNCHER_NAMES REPLACE ":.*" "")
install(CODE "
  set(qvl_launchers ${QVL_LAUNCHER_NAMES})
  if(CMAKE_INSTALL_PREFIX MATCHES \"^/usr/*$\")
    set(qvl_launcher_dir games)
  else()
    set(qvl_launcher_dir \"${CMAKE_INSTALL_BINDIR}\")
  endif()
  list(TRANSFORM qvl_launchers PREPEND \"${CMAKE_BINARY_DIR}/launchers/\${qvl_launcher_dir}/\")
  file(INSTALL \${qvl_launchers} DESTINATION \"\${CMAKE_INSTALL_PREFIX}/\${qvl_launcher_dir}\"
       FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
")

# Manual pages and the changelog compressed as Debian wants them: gzip -9, no name or time
# stamp inside, so two builds give the same bytes. taluvine-fullscreen shares taluvine's page.
set(QVL_GZIP_DIR ${CMAKE_BINARY_DIR}/gzipped)
set(QVL_GZIPPED "")
foreach(source tools/install/taluvine.6 tools/install/taluvine-preview.6 tools/release/changelog)
  get_filename_component(name ${source} NAME)
  set(gzipped ${QVL_GZIP_DIR}/${name}.gz)
  add_custom_command(OUTPUT ${gzipped}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QVL_GZIP_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/${source} ${QVL_GZIP_DIR}/${name}
    COMMAND gzip -9 -n -f ${QVL_GZIP_DIR}/${name}
    DEPENDS ${CMAKE_SOURCE_DIR}/${source}
    COMMENT "Compressing ${name}"
    VERBATIM)
  list(APPEND QVL_GZIPPED ${gzipped})
endforeach()
add_custom_command(OUTPUT ${QVL_GZIP_DIR}/taluvine-fullscreen.6.gz
  COMMAND ${CMAKE_COMMAND} -E create_symlink taluvine.6.gz ${QVL_GZIP_DIR}/taluvine-fullscreen.6.gz
  DEPENDS ${QVL_GZIP_DIR}/taluvine.6.gz
  VERBATIM)
add_custom_target(qvl_release_docs ALL DEPENDS ${QVL_GZIPPED} ${QVL_GZIP_DIR}/taluvine-fullscreen.6.gz)
install(FILES ${QVL_GZIP_DIR}/taluvine.6.gz ${QVL_GZIP_DIR}/taluvine-fullscreen.6.gz ${QVL_GZIP_DIR}/taluvine-preview.6.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The release notes and the list of linked libraries, as in every release archive; the licence
# is stated in the Debian copyright file, whose GPL text is the system's common-licenses copy.
install(FILES ${QVL_RELEASE_DIR}/README.txt DESTINATION ${QVL_DOC_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/NOTICE DESTINATION ${QVL_DOC_DIR} RENAME NOTICE.txt)
install(FILES ${QVL_RELEASE_DIR}/copyright ${QVL_GZIP_DIR}/changelog.gz DESTINATION ${QVL_DOC_DIR})
install(FILES ${QVL_RELEASE_DIR}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME taluvine)

set(QVL_ICON ${CMAKE_BINARY_DIR}/taluvine.png)
add_custom_command(OUTPUT ${QVL_ICON} COMMAND qvl_assetgen --icon ${QVL_ICON} DEPENDS qvl_assetgen
                   COMMENT "Drawing the desktop icon")
add_custom_target(qvl_icon ALL DEPENDS ${QVL_ICON})
install(FILES ${QVL_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES ${CMAKE_SOURCE_DIR}/tools/install/taluvine.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# AppStream metadata, by which software centres list the package; its releases are the changelog's.
set(QVL_METAINFO ${CMAKE_BINARY_DIR}/invalid.quorvel.taluvine.metainfo.xml)
add_custom_command(OUTPUT ${QVL_METAINFO}
  COMMAND ${CMAKE_COMMAND} -DCHANGELOG=${QVL_RELEASE_DIR}/changelog
          -DTEMPLATE=${CMAKE_SOURCE_DIR}/tools/install/taluvine.metainfo.xml.in -DOUTPUT=${QVL_METAINFO}
          -P ${CMAKE_SOURCE_DIR}/cmake/metainfo.cmake
  DEPENDS ${QVL_RELEASE_DIR}/changelog ${CMAKE_SOURCE_DIR}/tools/install/taluvine.metainfo.xml.in
          ${CMAKE_SOURCE_DIR}/cmake/metainfo.cmake
  COMMENT "Writing the AppStream metadata from the changelog"
  VERBATIM)
add_custom_target(qvl_metainfo ALL DEPENDS ${QVL_METAINFO})
install(FILES ${QVL_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The package's version is the changelog's latest, so the two cannot disagree.
file(STRINGS ${QVL_RELEASE_DIR}/changelog QVL_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT QVL_CHANGELOG_TOP MATCHES "^taluvine \\(([0-9][0-9.]*)\\) ")
  message(FATAL_ERROR "tools/release/changelog: first line is not 'taluvine (VERSION) ...'")
endif()
set(CPACK_PACKAGE_VERSION ${CMAKE_MATCH_1})

set(CPACK_PACKAGE_NAME taluvine)
set(CPACK_PACKAGE_VENDOR Quorvel)
set(CPACK_PACKAGE_CONTACT "Quorvel <taluvine@quorvel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Real-time audiovisual demo in five scenes with its own soundtrack")
# Debian shows each line as it is: at most 80 columns with the leading space.
set(CPACK_PACKAGE_DESCRIPTION "Taluvine opens an OpenGL window, plays its own soundtrack and shows a
172-second programme of five scenes in step with the music. Start it with
taluvine (windowed) or taluvine-fullscreen; Escape quits. taluvine-preview
plays it from any moment, with pause and seek.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# Depends are worked out by dpkg-shlibdeps from the shared libraries the programs link.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A GL driver is loaded at run time, not linked; the tools call ffmpeg and gnuplot.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "ffmpeg, gnuplot-nox")
# Every file time in the package is the release date (CPack's DEB generator reads
# SOURCE_DATE_EPOCH), worked out when cpack runs, so that a package made later from the same
# source is the same file.
set(CPACK_QVL_SOURCE_DIR ${CMAKE_SOURCE_DIR})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_SOURCE_DIR}/cmake/cpack_release_date.cmake)
include(CPack)
