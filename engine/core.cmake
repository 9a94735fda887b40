# Simulation, numeric routines and rendering.

# The veil simulation is pure and builds in every preset (unit tests, benchmarks).
add_library(engine_core STATIC
  ${CMAKE_CURRENT_SOURCE_DIR}/veil.cpp)
target_include_directories(engine_core PUBLIC ${PROJECT_SOURCE_DIR})
# The per-frame update is written for the vectoriser; -O2 leaves its loops scalar.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(engine_core PRIVATE $<$<NOT:$<CONFIG:Debug>>:-O3 -fno-math-errno>)
endif()

if(ORVANE_WINDOWS)
  # OpenGL drawing into the engine window; the shell links this.
  add_library(engine_render STATIC
    ${CMAKE_CURRENT_SOURCE_DIR}/render.cpp)
  target_link_libraries(engine_render PUBLIC engine_core opengl32 glu32 winmm gdi32)
endif()

orvane_unit_test(NAME engine_veil_test
  SOURCES ${PROJECT_SOURCE_DIR}/tests/unit/engine/veil_test.cpp ${PROJECT_SOURCE_DIR}/bench/veil_reference.cpp
  LIBS engine_core)
