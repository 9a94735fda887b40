# The Linux program's music soak (10 minutes) runs with `ctest --preset soak`,
# whose build is the Windows one, so it builds the native program first.
set(native_dir ${PROJECT_SOURCE_DIR}/build/native)
add_test(NAME linux_soak_build
  COMMAND bash -c "cmake --preset native >/dev/null && cmake --build --preset native --target orvane"
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
set_tests_properties(linux_soak_build PROPERTIES FIXTURES_SETUP linux_soak LABELS soak TIMEOUT 1800)
add_test(NAME linux_soak_music COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/soak_music.sh)
set_tests_properties(linux_soak_music PROPERTIES
  LABELS soak TIMEOUT 1800 FIXTURES_REQUIRED linux_soak
  ENVIRONMENT "ORVANE_PROGRAM=${native_dir}/bin/orvane;ORVANE_BUILD_DIR=${native_dir};ORVANE_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
