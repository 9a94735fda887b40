# The Linux program's music: GStreamer's playbin on a thread of its own. Only
# orvane links it; nothing else in the tree needs GStreamer.
find_package(PkgConfig REQUIRED)
pkg_check_modules(GSTREAMER REQUIRED IMPORTED_TARGET gstreamer-1.0)
find_package(Threads REQUIRED)
add_library(music_gst STATIC ${CMAKE_CURRENT_LIST_DIR}/gst_music_player.cpp)
target_include_directories(music_gst PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(music_gst PUBLIC PkgConfig::GSTREAMER Threads::Threads)

# Not under the sanitizers: GStreamer keeps its registry for the life of the process.
if(NOT ORVANE_SANITIZE)
  orvane_unit_test(NAME music_gst_player_test
    SOURCES ${PROJECT_SOURCE_DIR}/tests/unit/music/gst_music_player_test.cpp
    LIBS music_gst)
endif()
