# Writes the bytes of INPUT as a C array SYMBOL (with SYMBOL_size) into OUTPUT.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n"
       bytes "${bytes}")
file(WRITE ${OUTPUT}
  "/* Made at build time from ${INPUT}. */\n"
  "#include <stddef.h>\n"
  "const unsigned char ${SYMBOL}[] = {\n${bytes}\n};\n"
  "const size_t ${SYMBOL}_size = ${size};\n")
