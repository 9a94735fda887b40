# The push button's state pictures (assets/button_*.bmp). The generated files are committed;
# `cmake --build <native build> --target button_pictures_asset` draws them again.
if(NOT ORVANE_WINDOWS)
  add_library(button_pictures STATIC ${CMAKE_CURRENT_LIST_DIR}/button_pictures.cpp)
  target_include_directories(button_pictures PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(button_pictures PUBLIC indicator_pictures)
  add_executable(make_buttons ${CMAKE_CURRENT_LIST_DIR}/make_buttons.cpp)
  target_link_libraries(make_buttons PRIVATE button_pictures)
  add_custom_target(button_pictures_asset
    COMMAND make_buttons ${PROJECT_SOURCE_DIR}/assets
    COMMENT "Drawing the push button's pictures into assets/")
  # The committed pictures are exactly what the generator draws.
  add_test(NAME button_pictures_current
    COMMAND make_buttons --check ${PROJECT_SOURCE_DIR}/assets)
  set_tests_properties(button_pictures_current PROPERTIES LABELS unit)
endif()
