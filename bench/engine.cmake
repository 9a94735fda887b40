# Engine benchmarks: the veil update natively; a frame natively (X11/GLX) and under Wine.
if(NOT ORVANE_WINDOWS)
  find_package(benchmark QUIET)
  if(benchmark_FOUND)
    add_executable(engine_veil_bench
      ${CMAKE_CURRENT_SOURCE_DIR}/veil_bench.cpp)
    orvane_target(engine_veil_bench)
    # veil_reference: the straight transcription the tests also compare against.
    target_link_libraries(engine_veil_bench PRIVATE engine_core veil_reference benchmark::benchmark)
  endif()

  # Run on an X display:  DISPLAY=... <build>/bench/engine_x11_frame_bench
  add_executable(engine_x11_frame_bench
    ${CMAKE_CURRENT_SOURCE_DIR}/x11_frame_bench.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/frame_compare.cpp)
  orvane_target(engine_x11_frame_bench)
  target_link_libraries(engine_x11_frame_bench PRIVATE linux_x11)
endif()

if(ORVANE_WINDOWS)
  # Run under the harness:  ORVANE_HARNESS_DIR=<dir> scripts/wine-run <build>/bench/engine_frame_bench.exe
  add_executable(engine_frame_bench
    ${CMAKE_CURRENT_SOURCE_DIR}/frame_bench.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/frame_compare.cpp)
  orvane_target(engine_frame_bench)
  target_link_libraries(engine_frame_bench PRIVATE engine_win32)

  # The show over every monitor of a display; bench/desk_bench.sh runs it.
  add_executable(engine_desk_bench ${CMAKE_CURRENT_SOURCE_DIR}/desk_bench.cpp)
  orvane_target(engine_desk_bench)
  target_link_libraries(engine_desk_bench PRIVATE engine_win32)

  # CPU of the show with and without frame pacing; bench/pacing_bench.sh runs it.
  add_executable(engine_pacing_bench ${CMAKE_CURRENT_SOURCE_DIR}/pacing_bench.cpp)
  orvane_target(engine_pacing_bench)
  target_link_libraries(engine_pacing_bench PRIVATE engine_win32)
endif()
