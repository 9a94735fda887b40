# Two builds of one commit, in any two folders and at any two times, give the
# same bytes (the release presets turn this on). What is left to the tools:
#   - the compiler writes names of files (__FILE__, debug information) relative
#     to the source and build folders;
#   - MinGW's linker stamps the PE header with SOURCE_DATE_EPOCH when it is set
#     (scripts/release takes it from the commit), and with nothing without it;
#   - the packages' file times come from the same variable (packaging.cmake,
#     debian_package.cmake).
if(NOT ORVANE_REPRODUCIBLE)
  return()
endif()

# GCC tries the last map first: the build folder may lie inside the sources.
add_compile_options(
  "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=;-ffile-prefix-map=${CMAKE_BINARY_DIR}/=build/>")
if(ORVANE_WINDOWS AND NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  add_link_options(-Wl,--no-insert-timestamp)
endif()
