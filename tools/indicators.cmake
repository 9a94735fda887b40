# The settings dialog's pictures (mode indicators, window icon). The generated
# files are committed under assets/; `cmake --build <dir> --target dialog_pictures`
# makes them again from the generator.
if(NOT ORVANE_WINDOWS)
  add_library(indicator_pictures STATIC ${CMAKE_CURRENT_LIST_DIR}/indicator_pictures.cpp)
  target_include_directories(indicator_pictures PUBLIC ${PROJECT_SOURCE_DIR})
  add_executable(make_indicators ${CMAKE_CURRENT_LIST_DIR}/make_indicators.cpp)
  target_link_libraries(make_indicators PRIVATE indicator_pictures)
  add_custom_target(dialog_pictures
    COMMAND make_indicators ${PROJECT_SOURCE_DIR}/assets
    COMMENT "Drawing the settings dialog's pictures into assets/")
endif()
