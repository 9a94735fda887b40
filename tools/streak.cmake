# The engine's streak texture (assets/streak.pgm). Draw it again after changing
# the generator:  cmake --build <native build> --target streak_image_asset
if(NOT ORVANE_WINDOWS)
  add_executable(streak_image ${CMAKE_CURRENT_LIST_DIR}/streak_image.cpp)
  target_include_directories(streak_image PRIVATE ${PROJECT_SOURCE_DIR})
  add_custom_target(streak_image_asset
    COMMAND streak_image ${PROJECT_SOURCE_DIR}/assets/streak.pgm
    COMMENT "Drawing assets/streak.pgm")
  # The committed image is exactly what the generator draws.
  add_test(NAME streak_image_asset_current
    COMMAND streak_image --check ${PROJECT_SOURCE_DIR}/assets/streak.pgm)
  set_tests_properties(streak_image_asset_current PROPERTIES LABELS unit)
endif()
