# Build conventions shared by every subsystem's CMakeLists.txt.
#
#   ORVANE_WINDOWS          true in the MinGW-w64 build (preset "windows")
#   ORVANE_BIN_DIR          where Orvane.scr and Orvane.dll land, side by side
#   ORVANE_HARNESS_DIR      state of the Wine/Xvfb/PulseAudio harness of this build
#
#   orvane_unit_test(NAME n SOURCES ... [LIBS ...])    native GoogleTest, label "unit"
#   orvane_win32_test(NAME n SOURCES ... [LIBS ...])   MinGW GoogleTest run under Wine, label "win32"
#   orvane_e2e_test(NAME n SCRIPT path [TIMEOUT s] [LABEL l])   harness scenario (bash), label
#                                                      "e2e" or l ("soak" is left out of the
#                                                      default test run)

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(ORVANE_WINDOWS TRUE)
else()
  set(ORVANE_WINDOWS FALSE)
endif()

set(ORVANE_BIN_DIR ${CMAKE_BINARY_DIR}/bin)
set(ORVANE_HARNESS_DIR ${CMAKE_BINARY_DIR}/harness)
set(ORVANE_SCRIPTS_DIR ${PROJECT_SOURCE_DIR}/scripts)

# Version, publisher and copyright for the resource scripts (orvane_version.h):
# targets whose .rc includes assets/version_info.rc link orvane_version.
set(ORVANE_PUBLISHER "Orvane developers")
set(ORVANE_COPYRIGHT "Copyright (C) 2026 Orvane developers")
configure_file(${CMAKE_CURRENT_LIST_DIR}/orvane_version.h.in ${CMAKE_BINARY_DIR}/generated/orvane_version.h @ONLY)
add_library(orvane_version INTERFACE)
target_include_directories(orvane_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
set(ORVANE_VERSION_RC_DEPENDS
  ${PROJECT_SOURCE_DIR}/assets/version_info.rc ${CMAKE_BINARY_DIR}/generated/orvane_version.h)

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra)
endif()

if(ORVANE_WINDOWS)
  # Lean headers, no min/max macros, and the Windows 7 API level.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

if(ORVANE_FUZZ)
  # Coverage and sanitizers in every library; only the targets link the fuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

if(ORVANE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# GoogleTest from Debian's source package, built with this build's flags (so it
# matches the sanitizers natively and the static runtime under MinGW).
set(ORVANE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT TARGET gtest_main AND NOT ORVANE_FUZZ)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  add_subdirectory(${ORVANE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL)
endif()

# A GoogleTest program.
function(_orvane_gtest name sources libs)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${libs} gmock gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
endfunction()

function(orvane_unit_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(ORVANE_WINDOWS OR ORVANE_FUZZ)
    return()
  endif()
  _orvane_gtest(${T_NAME} "${T_SOURCES}" "${T_LIBS}")
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES LABELS unit TIMEOUT 120)
endfunction()

# A test that runs Windows programs: it needs the harness, and it has one of
# its lanes (display, X focus, Wine prefix, sound) to itself, so tests in
# different lanes run side by side (ctest -j).
function(_orvane_harness_test name label timeout)
  add_test(NAME ${name} COMMAND ${ORVANE_SCRIPTS_DIR}/harness run ${ORVANE_HARNESS_DIR} ${ARGN})
  set_tests_properties(${name} PROPERTIES
    LABELS ${label} TIMEOUT ${timeout} SKIP_RETURN_CODE 77
    FIXTURES_REQUIRED harness
    ENVIRONMENT "ORVANE_HARNESS_DIR=${ORVANE_HARNESS_DIR};ORVANE_BIN_DIR=${ORVANE_BIN_DIR};ORVANE_SOURCE_DIR=${PROJECT_SOURCE_DIR};ORVANE_BUILD_DIR=${CMAKE_BINARY_DIR}")
endfunction()

function(orvane_win32_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(NOT ORVANE_WINDOWS)
    return()
  endif()
  _orvane_gtest(${T_NAME} "${T_SOURCES}" "${T_LIBS}")
  _orvane_harness_test(${T_NAME} win32 300 ${ORVANE_SCRIPTS_DIR}/wine-run $<TARGET_FILE:${T_NAME}>)
  # They drive their windows with messages; see scripts/wine-run.
  set_property(TEST ${T_NAME} APPEND PROPERTY ENVIRONMENT ORVANE_UNMANAGED_WINDOWS=1)
endfunction()

function(orvane_e2e_test)
  cmake_parse_arguments(T "" "NAME;SCRIPT;TIMEOUT;LABEL" "" ${ARGN})
  if(NOT ORVANE_WINDOWS)
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  if(NOT T_LABEL)
    set(T_LABEL e2e)
  endif()
  _orvane_harness_test(${T_NAME} ${T_LABEL} ${T_TIMEOUT} bash ${T_SCRIPT})
  # Before CTest has timed a run, the scenarios given the longest time-outs start
  # first, and the short Windows test programs fill in after, so the lanes end
  # close together.
  set_tests_properties(${T_NAME} PROPERTIES COST ${T_TIMEOUT})
endfunction()

function(orvane_harness_fixture)
  add_test(NAME harness_start COMMAND ${ORVANE_SCRIPTS_DIR}/harness start ${ORVANE_HARNESS_DIR})
  add_test(NAME harness_stop COMMAND ${ORVANE_SCRIPTS_DIR}/harness stop ${ORVANE_HARNESS_DIR})
  set_tests_properties(harness_start PROPERTIES FIXTURES_SETUP harness LABELS "win32;e2e" TIMEOUT 180)
  set_tests_properties(harness_stop PROPERTIES FIXTURES_CLEANUP harness LABELS "win32;e2e" TIMEOUT 60)
endfunction()

# A generated asset: the generator in tools/ is committed with its output.
# ASSET_TARGET draws the file again; the unit test unit_<ASSET_TARGET>_current
# fails when the committed file is not what the generator draws (`--check`).
function(orvane_generated_asset tool asset_target output)
  add_custom_target(${asset_target} COMMAND ${tool} ${output} COMMENT "Drawing ${output}")
  add_test(NAME unit_${asset_target}_current COMMAND ${tool} --check ${output})
  set_tests_properties(unit_${asset_target}_current PROPERTIES LABELS unit)
endfunction()

# A GUI program with a fixed file name (Orvane.scr, Orvane.dll) in ORVANE_BIN_DIR.
function(orvane_gui_program target file_name)
  set_target_properties(${target} PROPERTIES
    WIN32_EXECUTABLE TRUE
    OUTPUT_NAME ${file_name}
    SUFFIX ""
    RUNTIME_OUTPUT_DIRECTORY ${ORVANE_BIN_DIR})
endfunction()
