# The settings dialog's pictures (mode indicators, window icon). The generated
# files are committed under assets/; `cmake --build <native build> --target dialog_pictures`
# draws them again.
if(NOT ORVANE_WINDOWS)
  add_library(indicator_pictures STATIC ${CMAKE_CURRENT_LIST_DIR}/indicator_pictures.cpp)
  orvane_target(indicator_pictures)
  target_link_libraries(indicator_pictures PUBLIC dialog_core)
  add_executable(make_indicators ${CMAKE_CURRENT_LIST_DIR}/make_indicators.cpp)
  orvane_target(make_indicators)
  target_link_libraries(make_indicators PRIVATE indicator_pictures)
  orvane_generated_asset(make_indicators dialog_pictures ${PROJECT_SOURCE_DIR}/assets)
endif()
