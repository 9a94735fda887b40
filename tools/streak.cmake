# The engine's streak texture (assets/streak.pgm). Draw it again after changing
# the generator:  cmake --build <native build> --target streak_image_asset
if(NOT ORVANE_WINDOWS)
  add_executable(streak_image ${CMAKE_CURRENT_LIST_DIR}/streak_image.cpp)
  orvane_target(streak_image)
  orvane_generated_asset(streak_image streak_image_asset ${PROJECT_SOURCE_DIR}/assets/streak.pgm)
endif()
