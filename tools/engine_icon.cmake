# The engine's icon (assets/engine_icon.ico). Regenerate after changing the drawing:
#   cmake --build <native build> --target engine_icon_asset
if(NOT ORVANE_WINDOWS)
  add_executable(engine_icon ${CMAKE_CURRENT_SOURCE_DIR}/engine_icon.cpp)
  orvane_target(engine_icon)
  orvane_generated_asset(engine_icon engine_icon_asset ${PROJECT_SOURCE_DIR}/assets/engine_icon.ico)
endif()
