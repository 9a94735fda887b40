# Build conventions shared by every subsystem's CMakeLists.txt.
#
#   ORVANE_WINDOWS          true in the MinGW-w64 build (preset "windows")
#   ORVANE_BIN_DIR          where Orvane.scr and Orvane.dll land, side by side
#   ORVANE_HARNESS_DIR      state of the Wine/Xvfb/PulseAudio harness of this build
#
#   orvane_target(t [FOLDER f])   every library and program of ours: warnings, Win32
#                                 definitions, its folder's headers (see below)
#   orvane_unit_test(NAME n SOURCES ... [LIBS ...])    native GoogleTest, label "unit"
#   orvane_win32_test(NAME n SOURCES ... [LIBS ...])   MinGW GoogleTest run under Wine, label "win32"
#   orvane_e2e_test(NAME n SCRIPT path [TIMEOUT s] [LABEL l])   harness scenario (bash), label
#                                                      "e2e" or l ("soak" is left out of the
#                                                      default test run)
#   orvane_linux_scenario(NAME n TIMEOUT s [ENVIRONMENT v=x ...])   the Linux program's scenario
#                                                      tests/e2e/linux/n.sh, natively, as linux_n

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

# What every target of ours compiles with, and GoogleTest does not: warnings,
# and on Windows lean headers, no min/max macros and the Windows 7 API level
# (resource scripts included, as they read <windows.h> too). orvane_target()
# links it; the sanitizer and fuzz flags come from the presets and reach
# every target, GoogleTest's too.
add_library(orvane_defaults INTERFACE)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  target_compile_options(orvane_defaults INTERFACE "$<$<COMPILE_LANGUAGE:C,CXX>:-Wall;-Wextra>")
endif()
if(ORVANE_WINDOWS)
  target_compile_definitions(orvane_defaults INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

# Folders whose code may include any other folder; the product's folders
# include only what scripts/check_includes allows them.
set(ORVANE_FREE_FOLDERS tests fuzz bench tools)

# orvane_target(<target> [FOLDER <folder>])
#
# Makes <target> one of ours: it links orvane_defaults, and its folder's
# headers are reachable as "<folder>/<name>.h". The folder is the one whose
# CMakeLists.txt defines the target, unless FOLDER names another (a test
# program defined beside the code it tests says FOLDER tests).
#
# A library in a product folder publishes only its own folder, through
# <build>/include/<folder>/<folder>, a link to the source folder: whoever links
# it can include that folder and nothing more. What a library uses it states
# with target_link_libraries, which brings the used folder's headers along; a
# header it includes without linking the library does not compile. Targets in
# ORVANE_FREE_FOLDERS see the whole tree, privately.
set(ORVANE_INCLUDE_DIR ${CMAKE_BINARY_DIR}/include)
function(orvane_target target)
  cmake_parse_arguments(T "" "FOLDER" "" ${ARGN})
  if(NOT T_FOLDER)
    file(RELATIVE_PATH relative ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    string(REGEX REPLACE "/.*" "" T_FOLDER "${relative}")
  endif()
  get_target_property(type ${target} TYPE)
  set_target_properties(${target} PROPERTIES ORVANE_FOLDER ${T_FOLDER})
  if(type STREQUAL "INTERFACE_LIBRARY")
    set(scope INTERFACE)
  else()
    target_link_libraries(${target} PRIVATE orvane_defaults)
    if(type STREQUAL "EXECUTABLE")
      set(scope PRIVATE)
    else()
      set(scope PUBLIC)
    endif()
  endif()
  if(T_FOLDER IN_LIST ORVANE_FREE_FOLDERS)
    if(NOT scope STREQUAL "INTERFACE")
      target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
    endif()
  else()
    orvane_folder_include(${T_FOLDER} include)
    target_include_directories(${target} ${scope} ${include})
  endif()
endfunction()

# orvane_folder_include(<folder> <variable>): the include directory through
# which "<folder>/..." and nothing else is reachable.
function(orvane_folder_include folder variable)
  set(dir ${ORVANE_INCLUDE_DIR}/${folder})
  if(NOT EXISTS ${dir}/${folder})
    file(MAKE_DIRECTORY ${dir})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${dir}/${folder} SYMBOLIC)
  endif()
  set(${variable} ${dir} PARENT_SCOPE)
endfunction()

# The pictures and icons the resource scripts embed ("assets/..."): data that
# any folder's resource script may name. A library whose .rc files embed
# assets links orvane_assets.
add_library(orvane_assets INTERFACE)
orvane_target(orvane_assets FOLDER assets)

# Configure-time guard: every target compiled from this tree links
# orvane_defaults (call orvane_target() on it). Run once, after all folders.
# Without the tests, the programs only the scenarios run (those of the tests
# folder and those built into testbin/) leave the default build.
function(orvane_check_targets)
  set(pending ${PROJECT_SOURCE_DIR})
  set(missing)
  while(pending)
    list(POP_FRONT pending dir)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(sub ${subdirs})
      string(FIND "${sub}/" "${PROJECT_SOURCE_DIR}/" at)
      if(at EQUAL 0)
        list(APPEND pending ${sub})
      endif()
    endforeach()
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target ${targets})
      get_target_property(type ${target} TYPE)
      if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
        get_target_property(links ${target} LINK_LIBRARIES)
        if(NOT "orvane_defaults" IN_LIST links)
          list(APPEND missing ${target})
        endif()
        if(NOT ORVANE_BUILD_TESTS AND type STREQUAL "EXECUTABLE")
          get_target_property(output_dir ${target} RUNTIME_OUTPUT_DIRECTORY)
          string(FIND "${output_dir}/" "${CMAKE_BINARY_DIR}/testbin/" at)
          get_target_property(folder ${target} ORVANE_FOLDER)
          if(at EQUAL 0 OR folder STREQUAL "tests")
            set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL TRUE)
          endif()
        endif()
      endif()
    endforeach()
  endwhile()
  if(missing)
    message(FATAL_ERROR "Targets without orvane_target(<target>) after their definition "
                        "(see cmake/orvane.cmake): ${missing}")
  endif()
endfunction()

# GoogleTest: the installed package where one matches this build (Debian's
# libgtest-dev for the native presets), else built here from Debian's source
# package with this build's flags (the MinGW build, whose runtime must match).
set(ORVANE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT ORVANE_FUZZ AND ORVANE_BUILD_TESTS)
  find_package(GTest CONFIG QUIET)
  if(TARGET GTest::gmock AND TARGET GTest::gtest_main)
    set(ORVANE_GTEST_LIBS GTest::gmock GTest::gtest_main)
  else()
    if(NOT TARGET gtest_main)
      set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
      set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
      set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
      add_subdirectory(${ORVANE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL)
    endif()
    set(ORVANE_GTEST_LIBS gmock gtest_main)
  endif()
endif()

# A GoogleTest program.
function(_orvane_gtest name sources libs)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${libs} ${ORVANE_GTEST_LIBS})
  orvane_target(${name} FOLDER tests)
endfunction()

function(orvane_unit_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(ORVANE_WINDOWS OR ORVANE_FUZZ OR NOT ORVANE_BUILD_TESTS)
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
  if(NOT ORVANE_WINDOWS OR NOT ORVANE_BUILD_TESTS)
    return()
  endif()
  _orvane_gtest(${T_NAME} "${T_SOURCES}" "${T_LIBS}")
  _orvane_harness_test(${T_NAME} win32 300 ${ORVANE_SCRIPTS_DIR}/wine-run $<TARGET_FILE:${T_NAME}>)
  # They drive their windows with messages; see scripts/wine-run.
  set_property(TEST ${T_NAME} APPEND PROPERTY ENVIRONMENT ORVANE_UNMANAGED_WINDOWS=1)
endfunction()

# Not under the sanitizers, which would report the GL driver's own allocations.
function(orvane_linux_scenario)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "ENVIRONMENT" ${ARGN})
  if(ORVANE_WINDOWS OR ORVANE_SANITIZE OR NOT ORVANE_BUILD_TESTS)
    return()
  endif()
  add_test(NAME linux_${T_NAME} COMMAND bash ${PROJECT_SOURCE_DIR}/tests/e2e/linux/${T_NAME}.sh)
  set_tests_properties(linux_${T_NAME} PROPERTIES
    LABELS "linux;e2e" TIMEOUT ${T_TIMEOUT} SKIP_RETURN_CODE 77
    ENVIRONMENT "ORVANE_PROGRAM=$<TARGET_FILE:orvane>;ORVANE_SOURCE_DIR=${PROJECT_SOURCE_DIR};ORVANE_BUILD_DIR=${CMAKE_BINARY_DIR};${T_ENVIRONMENT}")
endfunction()

function(orvane_e2e_test)
  cmake_parse_arguments(T "" "NAME;SCRIPT;TIMEOUT;LABEL" "" ${ARGN})
  if(NOT ORVANE_WINDOWS OR NOT ORVANE_BUILD_TESTS)
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
# tests/ registers that test from the list this keeps (ORVANE_GENERATED_ASSETS).
function(orvane_generated_asset tool asset_target output)
  add_custom_target(${asset_target} COMMAND ${tool} ${output} COMMENT "Drawing ${output}")
  set_property(GLOBAL APPEND PROPERTY ORVANE_GENERATED_ASSETS "${tool}|${asset_target}|${output}")
endfunction()

# A GUI program with a fixed file name (Orvane.scr, Orvane.dll) in ORVANE_BIN_DIR.
function(orvane_gui_program target file_name)
  set_target_properties(${target} PROPERTIES
    WIN32_EXECUTABLE TRUE
    OUTPUT_NAME ${file_name}
    SUFFIX ""
    RUNTIME_OUTPUT_DIRECTORY ${ORVANE_BIN_DIR})
endfunction()
