# The engine window: its rules (pure, tested natively) and the Win32 program Orvane.dll.
add_library(engine_shell STATIC ${CMAKE_CURRENT_SOURCE_DIR}/shell_policy.cpp)
target_include_directories(engine_shell PUBLIC ${PROJECT_SOURCE_DIR})

orvane_unit_test(NAME unit_engine_shell_policy
  SOURCES ${PROJECT_SOURCE_DIR}/tests/unit/engine/shell_policy_test.cpp
  LIBS engine_shell)

if(ORVANE_WINDOWS)
  add_executable(orvane_engine
    ${CMAKE_CURRENT_SOURCE_DIR}/win32_main.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/engine.rc)
  target_include_directories(orvane_engine PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(orvane_engine PRIVATE engine_shell engine_render_wgl orvane_version)
  # The resource script embeds the icon and the manifest; rebuild it when they change.
  set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/engine.rc PROPERTIES OBJECT_DEPENDS
    "${PROJECT_SOURCE_DIR}/assets/engine_icon.ico;${CMAKE_CURRENT_SOURCE_DIR}/engine.manifest;${ORVANE_VERSION_RC_DEPENDS}")
  orvane_gui_program(orvane_engine Orvane.dll)

  # The same engine for the scenarios alone, whose start can be fixed with
  # ORVANE_TEST_SEED (testbin/seeded/Orvane.dll; the shipped one never reads it).
  add_executable(orvane_engine_seeded
    ${CMAKE_CURRENT_SOURCE_DIR}/win32_main.cpp ${CMAKE_CURRENT_SOURCE_DIR}/engine.rc)
  target_include_directories(orvane_engine_seeded PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(orvane_engine_seeded PRIVATE ORVANE_SEED_FROM_ENVIRONMENT)
  target_link_libraries(orvane_engine_seeded PRIVATE engine_shell engine_render_wgl orvane_version)
  set_target_properties(orvane_engine_seeded PROPERTIES WIN32_EXECUTABLE TRUE OUTPUT_NAME Orvane.dll
    SUFFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/testbin/seeded)

  # Tells the input scenario which key and button events reached Windows.
  add_executable(engine_input_log ${PROJECT_SOURCE_DIR}/tests/e2e/engine/input_log.cpp)
  set_target_properties(engine_input_log PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/testbin)

  orvane_e2e_test(NAME e2e_engine_window SCRIPT ${PROJECT_SOURCE_DIR}/tests/e2e/engine/window.sh)
  orvane_e2e_test(NAME e2e_engine_input SCRIPT ${PROJECT_SOURCE_DIR}/tests/e2e/engine/input.sh TIMEOUT 600)
endif()

# The built program as other programs meet it (needs Orvane.dll built first).
orvane_win32_test(NAME win32_engine_shell_window
  SOURCES ${PROJECT_SOURCE_DIR}/tests/win32/engine/shell_window_test.cpp)
if(TARGET win32_engine_shell_window)
  add_dependencies(win32_engine_shell_window orvane_engine)
endif()
