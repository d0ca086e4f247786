// A configuration image from outside (a file, the mouse) distributed as the program does, the
// models refreshed, and reported as `nivractl show --json` reports it: no fault, and the
// report is valid JSON. The input is the image (shorter inputs are padded with 0xFF, as an
// erased memory reads; longer ones cut at 2048 bytes).
#include "fuzz/fuzz_check.h"
#include "fuzz/json_check.h"
#include "image/image.h"
#include "tools/nivractl/image_json.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    nivra::Image image;
    image.fill(0xFF);
    std::copy_n(data, std::min(size, image.size()), image.begin());
    std::ostringstream report;
    std::streambuf* const stdoutBuffer = std::cout.rdbuf(report.rdbuf());
    nivractl::printImageJson(image);
    std::cout.rdbuf(stdoutBuffer);
    const std::string text = report.str();
    if (!nivra::fuzz::JsonCheck(text).valid()) {
        std::fprintf(stderr, "%s\n", text.c_str());
        FUZZ_CHECK(!"the report is valid JSON");
    }
    return 0;
}
