# Installed layout: the program keeps its data files beside it, as it expects
# (settings, sounds, help pages), in lib/vexel; a launcher on the path, a
# desktop entry and the icon in the hicolor theme.
include(GNUInstallDirs)

install(TARGETS vexel RUNTIME DESTINATION ${CMAKE_INSTALL_LIBDIR}/vexel)
install(FILES
  ${CMAKE_BINARY_DIR}/bin/SOUNDS.IDX
  ${CMAKE_BINARY_DIR}/bin/SOUNDS.DAT
  ${CMAKE_BINARY_DIR}/bin/VEXELDEU.html
  ${CMAKE_BINARY_DIR}/bin/VEXELENG.html
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/vexel)
# The launcher is a relative link: the program finds its files through its real path.
install(CODE "
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(CREATE_LINK \"../${CMAKE_INSTALL_LIBDIR}/vexel/vexel\"
       \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/vexel\" SYMBOLIC)
")
install(FILES ${CMAKE_SOURCE_DIR}/data/vexel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 48 128 256)
  install(FILES ${CMAKE_BINARY_DIR}/icons/${size}/vexel.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
