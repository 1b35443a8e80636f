add_library(vexel_ui STATIC
  ${CMAKE_CURRENT_LIST_DIR}/accessibleboard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/animation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/announcer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/boardwidget.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gamerecordfiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/keyboard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/netdialogs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/netgame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recordfile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/spokentexts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/thinker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/turnpanelwidget.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Vexmain.cpp
)
target_link_libraries(vexel_ui PUBLIC vexel_core vexel_draw vexel_dialogs vexel_sound vexel_help vexel_settings_format vexel_net Qt6::Widgets)
