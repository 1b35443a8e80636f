# vexel_dialogs: every dialog of the program, on Qt Widgets, with the Qt side
# of the text tables and the Windows-1252 conversion of names.
add_library(vexel_dialogs STATIC
  ${CMAKE_CURRENT_LIST_DIR}/qtexts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/windows1252.cpp
  ${CMAKE_CURRENT_LIST_DIR}/seating.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Vexcentr.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Vexinfo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Vexsieg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Vexopti2.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Vexoptio.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Vexspeed.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Vexfehlr.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Vexrules.cpp
)
target_link_libraries(vexel_dialogs PUBLIC vexel_texts vexel_core vexel_paint vexel_settings_format Qt6::Widgets)

# Placing a dialog exactly the first time it is shown asks an X window manager
# for the frame it will get; without the X client library the main window's
# frame is taken as the guess.
find_path(VEXEL_XCB_INCLUDE_DIR xcb/xcb.h)
find_library(VEXEL_XCB_LIBRARY xcb)
if(VEXEL_XCB_INCLUDE_DIR AND VEXEL_XCB_LIBRARY)
  target_compile_definitions(vexel_dialogs PRIVATE VEXEL_HAVE_XCB)
  target_include_directories(vexel_dialogs PRIVATE ${VEXEL_XCB_INCLUDE_DIR})
  target_link_libraries(vexel_dialogs PRIVATE ${VEXEL_XCB_LIBRARY})
endif()
