# cmake -DDIR=<folder> -DOUT=<file.cpp> -P EmbedTestFiles.cmake
#
# Writes every *.json file of DIR into a C++ source as bytes, unchanged (no literal, so no charset
# conversion), so a test reads them alike natively and under Wine:
#   struct TestFile { const char* name; const unsigned char* data; size_t size; };
#   extern const TestFile kTestFiles[]; extern const size_t kTestFileCount;
if(NOT DIR OR NOT OUT)
  message(FATAL_ERROR "EmbedTestFiles.cmake needs -DDIR=<folder> -DOUT=<file.cpp>")
endif()
file(GLOB files RELATIVE "${DIR}" "${DIR}/*.json")
list(SORT files)
set(arrays "")
set(entries "")
set(index 0)
foreach(name IN LISTS files)
  file(READ "${DIR}/${name}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "const unsigned char kFile${index}[] = {${bytes}0};\n")
  string(APPEND entries "    {\"${name}\", kFile${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()
set(code "// Generated from ${DIR} by EmbedTestFiles.cmake.
#include <cstddef>

struct TestFile {
    const char* name;
    const unsigned char* data;
    size_t size;
};
extern const TestFile kTestFiles[];
extern const size_t kTestFileCount;

namespace {
${arrays}}  // namespace

const TestFile kTestFiles[] = {
${entries}};
const size_t kTestFileCount = ${index};
")
set(old "")
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
endif()
if(NOT old STREQUAL code)
  file(WRITE "${OUT}" "${code}")
endif()
