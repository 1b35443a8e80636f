# The game sounds: reading SOUNDS.IDX/SOUNDS.DAT (Qt-free, also fuzzed) and
# playing them on Qt Multimedia. tools/make-sounds generates the files.
add_library(vexel_sound_format STATIC
  ${CMAKE_CURRENT_LIST_DIR}/soundfile.cpp
)
target_include_directories(vexel_sound_format PUBLIC ${CMAKE_SOURCE_DIR})
set_target_properties(vexel_sound_format PROPERTIES AUTOMOC OFF)
target_link_libraries(vexel_sound_format PUBLIC vexel_safefile)

if(VEXEL_GUI)
  add_library(vexel_sound STATIC
    ${CMAKE_CURRENT_LIST_DIR}/sound.cpp
  )
  # core/gameview.h is used for tickReached alone, which is header-only.
  target_link_libraries(vexel_sound PUBLIC vexel_sound_format Qt6::Multimedia)
endif()
