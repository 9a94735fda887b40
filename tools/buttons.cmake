# The push button's state pictures (assets/button_*.bmp). The generated files are committed;
# `cmake --build <native build> --target button_pictures_asset` draws them again.
if(NOT ORVANE_WINDOWS)
  add_library(button_pictures STATIC ${CMAKE_CURRENT_LIST_DIR}/button_pictures.cpp)
  orvane_target(button_pictures)
  target_link_libraries(button_pictures PUBLIC indicator_pictures widgets_core)
  add_executable(make_buttons ${CMAKE_CURRENT_LIST_DIR}/make_buttons.cpp)
  orvane_target(make_buttons)
  target_link_libraries(make_buttons PRIVATE button_pictures)
  orvane_generated_asset(make_buttons button_pictures_asset ${PROJECT_SOURCE_DIR}/assets)
endif()
