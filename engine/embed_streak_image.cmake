# cmake -P script: turns the committed streak image (binary PGM, 256 x 256,
# 8 bits) into a C++ array, so the engine carries it in its static data.
#   -DINPUT=assets/streak.pgm -DOUTPUT=<build>/streak_image_data.cpp
set(header "P5\n256 256\n255\n")
string(LENGTH "${header}" header_length)
file(READ ${INPUT} head LIMIT ${header_length})
if(NOT head STREQUAL header)
  message(FATAL_ERROR "${INPUT}: expected a 256 x 256 8-bit binary PGM")
endif()
file(READ ${INPUT} hex OFFSET ${header_length} HEX)
string(LENGTH "${hex}" hex_length)
if(NOT hex_length EQUAL 131072)
  message(FATAL_ERROR "${INPUT}: expected 65536 texels, found ${hex_length} hex digits")
endif()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT}.tmp "// Generated from assets/streak.pgm; do not edit.\n#include \"engine/streak_image.h\"\n\nnamespace orvane::engine {\n\nconst unsigned char kStreakImage[kStreakImageSide * kStreakImageSide] = {\n${bytes}};\n\n}  // namespace orvane::engine\n")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
