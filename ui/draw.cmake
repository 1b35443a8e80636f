# vexel_draw: the pixels of the board, the pegs, the marks, the turn panel's
# star and the players dialog's preview, all drawn into QImage surfaces.
add_library(vexel_draw STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/boarddraw.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/drawprims.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/floodfill.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/preview.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/turnpanel.cpp
)
target_link_libraries(vexel_draw PUBLIC vexel_core Qt6::Gui)
