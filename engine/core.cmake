# Simulation, numeric routines and rendering.

# The veil simulation is pure and builds in every preset (unit tests, benchmarks).
# The streak texture is embedded from the committed image at build time.
set(streak_image_data ${CMAKE_CURRENT_BINARY_DIR}/streak_image_data.cpp)
add_custom_command(OUTPUT ${streak_image_data}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${PROJECT_SOURCE_DIR}/assets/streak.pgm -DOUTPUT=${streak_image_data}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/embed_streak_image.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/assets/streak.pgm ${CMAKE_CURRENT_SOURCE_DIR}/embed_streak_image.cmake
  COMMENT "Embedding assets/streak.pgm")

add_library(engine_core STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/veil.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pixel_format.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/veil_mesh.cpp
  ${streak_image_data})
orvane_target(engine_core)
# The per-frame update is written for the vectoriser; -O2 leaves its loops scalar.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(engine_core PRIVATE $<$<NOT:$<CONFIG:Debug>>:-O3 -fno-math-errno>)
endif()

# The picture in OpenGL 1.1, the same code on every platform.
add_library(engine_render STATIC ${CMAKE_CURRENT_SOURCE_DIR}/render.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/show_pictures.cpp)
orvane_target(engine_render)
if(ORVANE_WINDOWS)
  target_link_libraries(engine_render PUBLIC engine_core opengl32 glu32)
  # The window's context through WGL and the multimedia timer; the shell links this.
  add_library(engine_render_wgl STATIC
    ${CMAKE_CURRENT_SOURCE_DIR}/wgl_surface.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/wgl_pixel_format.cpp)
  orvane_target(engine_render_wgl)
  target_link_libraries(engine_render_wgl PUBLIC engine_render winmm gdi32)
else()
  find_package(OpenGL REQUIRED COMPONENTS OpenGL GLX)
  target_link_libraries(engine_render PUBLIC engine_core OpenGL::GL OpenGL::GLU)
endif()

set(unit ${PROJECT_SOURCE_DIR}/tests/unit/engine)
orvane_unit_test(NAME unit_engine_core
  SOURCES ${unit}/veil_test.cpp ${unit}/streak_image_test.cpp ${unit}/pixel_format_test.cpp ${unit}/frame_test.cpp
          ${PROJECT_SOURCE_DIR}/bench/veil_reference.cpp
  LIBS engine_core)

orvane_unit_test(NAME unit_engine_render_state
  SOURCES ${unit}/render_state_test.cpp ${unit}/show_pictures_test.cpp
  LIBS engine_render)

orvane_win32_test(NAME win32_engine_render
  SOURCES ${PROJECT_SOURCE_DIR}/tests/win32/engine/render_test.cpp
  LIBS engine_render_wgl)
