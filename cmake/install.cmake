# Installed layout: the program keeps its data files beside it, as it expects
# (sounds, help pages, settings where the folder is writable), in lib/vexel;
# a launcher on the path, a desktop entry, the icon in the hicolor theme, the
# manual page and the AppStream metainfo. The Debian package puts the launcher
# in games (debian/rules).
include(GNUInstallDirs)

# Not under CMAKE_INSTALL_LIBDIR: a multiarch library folder is no place for a program.
set(VEXEL_INSTALL_PROGRAMDIR "lib/vexel" CACHE STRING "Folder of the program and its data files, below the prefix")

install(TARGETS vexel RUNTIME DESTINATION ${VEXEL_INSTALL_PROGRAMDIR})
install(FILES
  ${CMAKE_BINARY_DIR}/bin/SOUNDS.IDX
  ${CMAKE_BINARY_DIR}/bin/SOUNDS.DAT
  ${CMAKE_BINARY_DIR}/bin/VEXELDEU.html
  ${CMAKE_BINARY_DIR}/bin/VEXELENG.html
  ${CMAKE_BINARY_DIR}/bin/hole-names.png
  DESTINATION ${VEXEL_INSTALL_PROGRAMDIR})
# The launcher is a relative link: the program finds its files through its real path.
file(RELATIVE_PATH vexel_launcher_target /${CMAKE_INSTALL_BINDIR} /${VEXEL_INSTALL_PROGRAMDIR}/vexel)
install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(CREATE_LINK \"${vexel_launcher_target}\"
       \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/vexel\" SYMBOLIC)
")
install(FILES ${CMAKE_SOURCE_DIR}/data/vexel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/org.vexel.vexel.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The type of game records (.vxg), which the desktop entry opens.
install(FILES ${CMAKE_SOURCE_DIR}/data/org.vexel.vexel.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${CMAKE_SOURCE_DIR}/data/vexel.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
foreach(size 48 128 256)
  install(FILES ${CMAKE_BINARY_DIR}/icons/${size}/vexel.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
