file(READ ${IN} hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUT} "// Generated from ${IN}; do not edit.\n"
  "extern const unsigned char ${SYMBOL}[] = {\n${bytes}\n0x00};  // a zero after the data lets texts be used as they are\n"
  "extern const unsigned ${SYMBOL}_size = ${size};\n")
