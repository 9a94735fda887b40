# Simulation, numeric routines and rendering.

# The veil simulation is pure and builds in every preset (unit tests, benchmarks).
add_library(engine_core STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/veil.cpp)
target_include_directories(engine_core PUBLIC ${PROJECT_SOURCE_DIR})

if(ORVANE_WINDOWS)
  # OpenGL drawing into the engine window; the shell links this.
  add_library(engine_render STATIC
    ${CMAKE_CURRENT_SOURCE_DIR}/render.cpp)
  target_link_libraries(engine_render PUBLIC engine_core opengl32 glu32 winmm gdi32)
endif()
