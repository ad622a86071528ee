# Installation and the Debian package: the window program, the command-line tool, the default
# background pictures, the desktop entry, the icon in the hicolor theme and the manual page.
# `cmake --install` places them under CMAKE_INSTALL_PREFIX; `cpack -G DEB` packs them for /usr.
include(GNUInstallDirs)

set(VISTELLO_DATA ${PROJECT_SOURCE_DIR}/data)

install(TARGETS vistello vistello-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Read-only default backgrounds; the production dialog lists the .jpg files of this folder.
install(DIRECTORY ${VISTELLO_DATA}/BackPic/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vistello/BackPic
        FILES_MATCHING PATTERN "*.jpg")

install(FILES ${VISTELLO_DATA}/vistello.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VISTELLO_DATA}/icons/vistello.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES ${VISTELLO_DATA}/icons/vistello-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME vistello.png)
endforeach()

# Manual pages are shipped compressed, as Debian expects.
find_program(GZIP_PROGRAM gzip)
if(GZIP_PROGRAM)
  set(vistello_man ${CMAKE_BINARY_DIR}/man/vistello-cli.1.gz)
  add_custom_command(OUTPUT ${vistello_man}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${GZIP_PROGRAM} -9 -n -c ${VISTELLO_DATA}/vistello-cli.1 > ${vistello_man}
    DEPENDS ${VISTELLO_DATA}/vistello-cli.1
    VERBATIM)
  add_custom_target(vistello_man ALL DEPENDS ${vistello_man})
  install(FILES ${vistello_man} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  install(FILES ${VISTELLO_DATA}/vistello-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The Debian package. Library dependencies are found by dpkg-shlibdeps; the plug-ins that Qt
# loads at run time (windowing system, SVG pictures of the skin), Qt's Chinese translations of
# its own dialogs, the CJK font, the face cascades of the automatic motion (a data package,
# invisible to dpkg-shlibdeps) and the authoring tools that make discs ready to burn are named
# here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vistello)
set(CPACK_PACKAGE_VENDOR "Vistello developers")
set(CPACK_PACKAGE_CONTACT "Vistello developers <vistello@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Photo album to VCD/SVCD/DVD and MP4 video maker (Chinese interface)")
set(CPACK_PACKAGE_DESCRIPTION
    "Vistello keeps albums of pictures and MP3 songs, gives every picture a title, a display time\n\
and one of 105 transitions, previews them, and renders the album as a VCD, SVCD or DVD MPEG\n\
video (PAL or NTSC, DVD also 16:9) or as an H.264/H.265 MP4 file up to 4K with the songs as its\n\
sound track. vistello-cli does the same from the command line.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, qt6-translations-l10n, fonts-noto-cjk, libopencv-objdetect406, opencv-data, dvdauthor, genisoimage, vcdimager")
set(CPACK_STRIP_FILES ON)
include(CPack)
