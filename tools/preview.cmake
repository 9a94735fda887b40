# The preview's still picture (assets/preview.jpg), drawn from the engine's
# veils in software and encoded with ImageMagick. The JPEG is committed; draw
# it again with:  cmake --build <native build> --target preview_still_asset
if(NOT ORVANE_WINDOWS)
  add_library(preview_still STATIC ${CMAKE_CURRENT_LIST_DIR}/preview_still.cpp)
  orvane_target(preview_still)
  target_link_libraries(preview_still PUBLIC engine_core)
  add_executable(make_preview ${CMAKE_CURRENT_LIST_DIR}/make_preview.cpp)
  orvane_target(make_preview)
  target_link_libraries(make_preview PRIVATE preview_still)
  add_custom_target(preview_still_asset
    COMMAND make_preview ${CMAKE_CURRENT_BINARY_DIR}/preview.ppm
    COMMAND convert ${CMAKE_CURRENT_BINARY_DIR}/preview.ppm -strip -sampling-factor 1x1 -quality 95
            ${PROJECT_SOURCE_DIR}/assets/preview.jpg
    COMMENT "Drawing assets/preview.jpg")
endif()
