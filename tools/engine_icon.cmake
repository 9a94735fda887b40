# The engine's icon (assets/engine_icon.ico). Regenerate after changing the drawing:
#   cmake --build <native build> --target engine_icon_asset
if(NOT ORVANE_WINDOWS)
  add_executable(engine_icon ${CMAKE_CURRENT_SOURCE_DIR}/engine_icon.cpp)
  add_custom_target(engine_icon_asset
    COMMAND engine_icon ${PROJECT_SOURCE_DIR}/assets/engine_icon.ico
    COMMENT "Drawing assets/engine_icon.ico")
  # The committed icon is exactly what the generator draws.
  add_test(NAME engine_icon_asset_current
    COMMAND engine_icon --check ${PROJECT_SOURCE_DIR}/assets/engine_icon.ico)
  set_tests_properties(engine_icon_asset_current PROPERTIES LABELS unit)
endif()
