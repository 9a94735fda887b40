# The Linux program's music: GStreamer's playbin on a thread of its own. Only
# orvane links it; nothing else in the tree needs GStreamer.
find_package(PkgConfig REQUIRED)
pkg_check_modules(GSTREAMER REQUIRED IMPORTED_TARGET gstreamer-1.0)
find_package(Threads REQUIRED)
add_library(engine_gst_music STATIC ${CMAKE_CURRENT_LIST_DIR}/gst_music_player.cpp)
orvane_target(engine_gst_music)
target_link_libraries(engine_gst_music PUBLIC PkgConfig::GSTREAMER Threads::Threads)

# Not under the sanitizers: GStreamer keeps its registry for the life of the process.
if(NOT ORVANE_SANITIZE)
  orvane_unit_test(NAME unit_engine_gst_music_player
    SOURCES ${PROJECT_SOURCE_DIR}/tests/unit/engine/gst_music_player_test.cpp
    LIBS engine_gst_music)
endif()
