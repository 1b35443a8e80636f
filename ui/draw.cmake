# vexel_draw: the pixels of the board, the pegs, the marks and the turn
# panel's star, all drawn into QImage surfaces with the shapes of vexel_paint.
add_library(vexel_draw STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/boarddraw.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/turnpanel.cpp
)
target_link_libraries(vexel_draw PUBLIC vexel_core vexel_paint Qt6::Gui)
