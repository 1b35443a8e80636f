# The help window, and the two help pages copied beside the program.
add_library(vexel_help STATIC
  ${CMAKE_CURRENT_LIST_DIR}/help.cpp
)
# core/settings.h is used for the Language enum; the text table names the help text.
target_include_directories(vexel_help PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(vexel_help PUBLIC Qt6::Widgets PRIVATE vexel_safefile vexel_texts)

set(help_pages)
foreach(page VEXELDEU.html VEXELENG.html)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/bin/${page}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/data/${page} ${CMAKE_BINARY_DIR}/bin/${page}
    DEPENDS ${CMAKE_SOURCE_DIR}/data/${page}
    COMMENT "Copying ${page} beside the program"
    VERBATIM)
  list(APPEND help_pages ${CMAKE_BINARY_DIR}/bin/${page})
endforeach()
add_custom_target(vexel_help_pages ALL DEPENDS ${help_pages})
add_dependencies(vexel_help vexel_help_pages)
