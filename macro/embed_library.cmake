# Writes the default PC macro library into a C++ source as a byte array, so that nivra_macro
# carries it without any resource system. Run by macro/CMakeLists.txt:
#   cmake -DOUT=<file.cpp> -DIN=<PCMacroData.bin> -P embed_library.cmake
file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" len)
if(NOT len EQUAL 54400)
  message(FATAL_ERROR "${IN} is not 27200 bytes")
endif()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUT}.tmp"
  "// Generated from resources/macros/PCMacroData.bin by macro/embed_library.cmake.\n"
  "#include \"macro/library.h\"\n\n"
  "namespace nivra::macro {\n"
  "namespace {\n"
  "const std::uint8_t kPCMacroData[] = {${bytes}};\n"
  "}  // namespace\n"
  "std::span<const std::uint8_t> defaultLibraryData() { return kPCMacroData; }\n"
  "}  // namespace nivra::macro\n")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
