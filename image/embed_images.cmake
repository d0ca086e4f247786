# Writes the built-in configuration images into a C++ source as byte arrays, so that
# nivra_image carries them without any resource system. Run by image/CMakeLists.txt:
#   cmake -DOUT=<file.cpp> -DIN1=<bin> -DIN2=<bin> -DIN3=<bin> -P embed_images.cmake
set(body "")
foreach(var IN1 IN2 IN3)
  file(READ "${${var}}" hex HEX)
  string(LENGTH "${hex}" len)
  if(NOT len EQUAL 4096)
    message(FATAL_ERROR "${${var}} is not 2048 bytes")
  endif()
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND body "    Image{{${bytes}}},\n")
endforeach()
file(WRITE "${OUT}.tmp"
  "// Generated from resources/images/NivraData_Cfg{1,2,3}.bin by image/embed_images.cmake.\n"
  "#include \"image/builtin.h\"\n\n"
  "namespace nivra::detail {\n"
  "extern const Image kBuiltinImages[3];\n"
  "const Image kBuiltinImages[3] = {\n${body}};\n"
  "}  // namespace nivra::detail\n")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
