# vexel_settings_format: the 200-byte settings record, the file that holds
# it and where that file lives. Plain C++ on the standard library and POSIX,
# so the unit tests and the fuzz targets build without Qt.
# vexel_safefile: reading only regular files and replacing files whole, for
# every file the program reads or writes (settings, sounds, help, records).
add_library(vexel_safefile STATIC ${CMAKE_CURRENT_LIST_DIR}/safefile.cpp)
target_include_directories(vexel_safefile PUBLIC ${CMAKE_SOURCE_DIR})
set_target_properties(vexel_safefile PROPERTIES AUTOMOC OFF)

add_library(vexel_settings_format STATIC
  ${CMAKE_CURRENT_LIST_DIR}/settingsrecord.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settingsfile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settingslocation.cpp
)
target_include_directories(vexel_settings_format PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(vexel_settings_format PUBLIC vexel_core vexel_safefile)
