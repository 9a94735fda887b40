# The engine window: its rules (pure, tested natively) and the Win32 program Orvane.dll.
add_library(engine_shell STATIC ${CMAKE_CURRENT_SOURCE_DIR}/shell_rules.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/cover_plan.cpp)
orvane_target(engine_shell)

orvane_unit_test(NAME unit_engine_shell_rules
  SOURCES ${PROJECT_SOURCE_DIR}/tests/unit/engine/shell_rules_test.cpp
          ${PROJECT_SOURCE_DIR}/tests/unit/engine/frame_pacing_test.cpp
          ${PROJECT_SOURCE_DIR}/tests/unit/engine/cover_plan_test.cpp
  LIBS engine_shell)

if(ORVANE_WINDOWS)
  # The window procedure's mapping of messages onto the rules, apart from the program.
  add_library(engine_shell_win32 STATIC ${CMAKE_CURRENT_SOURCE_DIR}/win32_shell_window.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/win32_show.cpp)
  orvane_target(engine_shell_win32)
  # The window title it shares with the host.
  target_link_libraries(engine_shell_win32 PUBLIC engine_shell engine_render_wgl orvane_common)
endif()

if(ORVANE_WINDOWS)
  add_executable(orvane_engine
    ${CMAKE_CURRENT_SOURCE_DIR}/win32_main.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/engine.rc)
  orvane_target(orvane_engine)
  # The manifest carries the release's version; engine.rc finds it beside orvane_version.h.
  configure_file(${CMAKE_CURRENT_SOURCE_DIR}/engine.manifest.in
    ${CMAKE_BINARY_DIR}/generated/engine.manifest @ONLY)
  # orvane_assets and orvane_version: engine.rc embeds the icon and the version.
  target_link_libraries(orvane_engine PRIVATE engine_shell_win32 orvane_assets orvane_version)
  # The resource script embeds the icon and the manifest; rebuild it when they change.
  set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/engine.rc PROPERTIES OBJECT_DEPENDS
    "${PROJECT_SOURCE_DIR}/assets/engine_icon.ico;${CMAKE_BINARY_DIR}/generated/engine.manifest;${CMAKE_CURRENT_SOURCE_DIR}/win32_resource_ids.h;${ORVANE_VERSION_RC_DEPENDS}")
  orvane_gui_program(orvane_engine Orvane.dll)

  # The same engine for the scenarios alone, whose start can be fixed with
  # ORVANE_TEST_SEED (testbin/seeded/Orvane.dll; the shipped one never reads it).
  add_executable(orvane_engine_seeded
    ${CMAKE_CURRENT_SOURCE_DIR}/win32_main.cpp ${CMAKE_CURRENT_SOURCE_DIR}/win32_show.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/win32_shell_window.cpp ${CMAKE_CURRENT_SOURCE_DIR}/engine.rc)
  orvane_target(orvane_engine_seeded)
  target_compile_definitions(orvane_engine_seeded PRIVATE ORVANE_SEED_FROM_ENVIRONMENT)
  target_link_libraries(orvane_engine_seeded PRIVATE engine_shell engine_render_wgl orvane_common
    orvane_assets orvane_version)
  set_target_properties(orvane_engine_seeded PROPERTIES WIN32_EXECUTABLE TRUE OUTPUT_NAME Orvane.dll
    SUFFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/testbin/seeded)

  # Tells the input scenario which key and button events reached Windows.
  add_executable(engine_input_log ${PROJECT_SOURCE_DIR}/tests/e2e/engine/input_log.cpp)
  orvane_target(engine_input_log FOLDER tests)
  set_target_properties(engine_input_log PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/testbin)

  orvane_e2e_test(NAME e2e_engine_window SCRIPT ${PROJECT_SOURCE_DIR}/tests/e2e/engine/window.sh)
  orvane_e2e_test(NAME e2e_engine_input SCRIPT ${PROJECT_SOURCE_DIR}/tests/e2e/engine/input.sh TIMEOUT 600)
  orvane_e2e_test(NAME e2e_engine_scaled_input SCRIPT ${PROJECT_SOURCE_DIR}/tests/e2e/engine/scaled_input.sh TIMEOUT 300)
  orvane_e2e_test(NAME e2e_engine_monitors SCRIPT ${PROJECT_SOURCE_DIR}/tests/e2e/engine/monitors.sh TIMEOUT 400)
endif()

# The built programs as other programs meet them (needs Orvane.dll and Orvane.scr built first).
orvane_win32_test(NAME win32_engine_shell_window
  SOURCES ${PROJECT_SOURCE_DIR}/tests/win32/engine/shell_window_test.cpp)
if(TARGET win32_engine_shell_window)
  add_dependencies(win32_engine_shell_window orvane_engine orvane_host)
endif()
orvane_win32_test(NAME win32_engine_shell_messages
  SOURCES ${PROJECT_SOURCE_DIR}/tests/win32/engine/shell_messages_test.cpp
          ${PROJECT_SOURCE_DIR}/tests/win32/engine/show_power_test.cpp
          ${PROJECT_SOURCE_DIR}/tests/win32/engine/engine_run_test.cpp
  LIBS engine_shell_win32)
if(TARGET win32_engine_shell_messages)
  # The class test registers the classes with Orvane.dll's own icon.
  add_dependencies(win32_engine_shell_messages orvane_engine)
endif()
