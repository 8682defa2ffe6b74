# cmake -DDIR=<folder> -DOUT=<file.cpp> -P EmbedTestFiles.cmake
# Writes every *.json file of DIR into a C++ source as bytes (no literal, so no charset conversion),
# as kTestFiles[kTestFileCount] of struct TestFile { const char* name; const unsigned char* data;
# size_t size; }, so a test reads them alike natively and under Wine.
file(GLOB files RELATIVE "${DIR}" "${DIR}/*.json")
list(SORT files)
set(code "// Generated from ${DIR} by EmbedTestFiles.cmake.\n#include <cstddef>\n\n")
string(APPEND code "struct TestFile { const char* name; const unsigned char* data; size_t size; };\n")
string(APPEND code "extern const TestFile kTestFiles[];\nextern const size_t kTestFileCount;\n")
set(entries "")
list(LENGTH files count)
foreach(name IN LISTS files)
  file(READ "${DIR}/${name}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(MAKE_C_IDENTIFIER "k${name}" id)
  string(APPEND code "static const unsigned char ${id}[] = {${bytes}0};\n")
  string(APPEND entries "    {\"${name}\", ${id}, ${size}},\n")
endforeach()
string(APPEND code "const TestFile kTestFiles[] = {\n${entries}};\nconst size_t kTestFileCount = ${count};\n")
file(WRITE "${OUT}" "${code}")
