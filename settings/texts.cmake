# vexel_texts: the German and English text tables (Qt-free).
add_library(vexel_texts STATIC ${CMAKE_CURRENT_LIST_DIR}/texts.cpp ${CMAKE_CURRENT_LIST_DIR}/colournames.cpp)
target_link_libraries(vexel_texts PUBLIC vexel_core)
