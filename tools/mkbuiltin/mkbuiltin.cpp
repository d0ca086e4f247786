// mkbuiltin: builds the three factory configuration images shipped with the program and
// writes them as resources/images/NivraData_Cfg{1,2,3}.bin, or checks committed files.
//
//   mkbuiltin DIR          write the three files into DIR
//   mkbuiltin --check DIR  exit 0 when the files in DIR equal what this program builds
//
// Every byte is set here on purpose; the result is reproducible on any machine.
#include "image/image.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

using nivra::Image;
using Bytes = std::vector<std::uint8_t>;

void put(Image& img, std::size_t at, std::initializer_list<std::uint8_t> bytes) {
    for (std::uint8_t b : bytes) img[at++] = b;
}

void put(Image& img, std::size_t at, const Bytes& bytes) {
    for (std::uint8_t b : bytes) img[at++] = b;
}

void putText(Image& img, std::size_t at, std::string_view text, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i)
        img[at + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0x00;
}

void fill(Image& img, std::size_t from, std::size_t to, std::uint8_t value) {
    for (std::size_t i = from; i < to; ++i) img[i] = value;
}

// Button function codes, four bytes each.
using Code = std::array<std::uint8_t, 4>;
void putCodes(Image& img, std::size_t at, std::initializer_list<Code> codes) {
    for (const Code& c : codes) {
        for (std::uint8_t b : c) img[at++] = b;
    }
}

constexpr Code kLeft{0x01, 0x01, 0x00, 0x00};
constexpr Code kRight{0x01, 0x02, 0x00, 0x00};
constexpr Code kMiddle{0x01, 0x04, 0x00, 0x00};
constexpr Code kBackward{0x01, 0x08, 0x00, 0x00};
constexpr Code kBackwardChord{0x01, 0x08, 0x00, 0x02};  // tied into the two-button profile switch
constexpr Code kForward{0x01, 0x10, 0x00, 0x00};
constexpr Code kDesktop{0x02, 0x08, 0x07, 0x00};        // Win + D
constexpr Code kPlayPause{0x03, 0x00, 0xCD, 0x00};
constexpr Code kVolumeUp{0x03, 0x00, 0xE9, 0x00};
constexpr Code kVolumeDown{0x03, 0x00, 0xEA, 0x00};
constexpr Code kCalculator{0x03, 0x01, 0x92, 0x00};
constexpr Code kNextTrack{0x03, 0x00, 0xB5, 0x00};
constexpr Code kLedMode{0x0E, 0x00, 0x00, 0x00};
constexpr Code kLedSwitch{0x08, 0x00, 0x00, 0x00};
constexpr Code kCpiLoop{0x09, 0x00, 0x00, 0x00};
constexpr Code kCpiUp{0x09, 0x01, 0x00, 0x00};
constexpr Code kCpiDown{0x09, 0x02, 0x00, 0x00};
constexpr Code kFire3x60{0x06, 0x12, 0x00, 0x3C};       // 3 shots, 60 ms
constexpr Code kFire2x60Hold{0x06, 0x91, 0x00, 0x3C};   // 2 shots, 60 ms, keeps firing while held
constexpr Code kGunAkm{0x0B, 0x00, 0x01, 0x00};
constexpr Code kGameModeExt{0x07, 0xD1, 0xF0, 0x20};     // Game Mode, fixed colour, offset 0x20
constexpr Code kOff{0x00, 0x00, 0x00, 0x00};

// Patch code for the controller, loaded at 0x0400 (512 bytes). Two entry points:
// a breathing step that walks a 64-step brightness curve into the LED PWM register, and
// a hook that raises a flag when the LED package option selects RGB LEDs. The gamma table
// for the PWM output sits in the second half. Unused bytes are erased (0xFF) or NOP (0x00);
// the balance byte makes the byte sum equal the check the header records.
Bytes patchCode() {
    Bytes p(512, 0x00);
    const Bytes code = {
        // 0x0400: entry table
        0x02, 0x04, 0x08,        // LJMP 0408h  breathing step
        0x02, 0x04, 0x25,        // LJMP 0425h  package hook
        0x00, 0x00,              // NOP NOP
        // 0x0408: breathing step
        0xC0, 0xE0,              // PUSH ACC
        0xC0, 0x82,              // PUSH DPL
        0xC0, 0x83,              // PUSH DPH
        0x90, 0x70, 0x40,        // MOV DPTR,#7040h   step counter
        0xE0,                    // MOVX A,@DPTR
        0x04,                    // INC A
        0x54, 0x3F,              // ANL A,#3Fh        64 steps
        0xF0,                    // MOVX @DPTR,A
        0x90, 0x05, 0x40,        // MOV DPTR,#0540h   breathing curve
        0x93,                    // MOVC A,@A+DPTR
        0x90, 0x70, 0x41,        // MOV DPTR,#7041h   PWM duty
        0xF0,                    // MOVX @DPTR,A
        0xD0, 0x83,              // POP DPH
        0xD0, 0x82,              // POP DPL
        0xD0, 0xE0,              // POP ACC
        0x22,                    // RET
        // 0x0425: package hook
        0xC0, 0xE0,              // PUSH ACC
        0x90, 0x70, 0xE4,        // MOV DPTR,#70E4h   LED package option
        0xE0,                    // MOVX A,@DPTR
        0x30, 0xE7, 0x06,        // JNB ACC.7,+6
        0x90, 0x70, 0x42,        // MOV DPTR,#7042h   RGB flag
        0x74, 0x01,              // MOV A,#01h
        0xF0,                    // MOVX @DPTR,A
        0xD0, 0xE0,              // POP ACC
        0x22,                    // RET
    };
    for (std::size_t i = 0; i < code.size(); ++i) p[i] = code[i];

    // 0x0540: 64-step breathing curve, quadratic rise and fall.
    for (int i = 0; i < 64; ++i) {
        const int t = i < 32 ? i : 63 - i;
        p[0x140 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((t * t * 255 + 480) / 961);
    }
    // 0x0580..0x05FF: gamma table for the upper half of the PWM range (inputs 128..255).
    for (int i = 0; i < 128; ++i) {
        const int x = 128 + i;
        p[0x180 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((x * x + 127) / 255);
    }

    // The gap between the code and the curve (0x0437..0x053F): NOP filler, a balance byte,
    // then erased bytes up to the curve.
    constexpr unsigned kTargetSum = 0x12740;
    unsigned sum = 0;
    for (std::uint8_t b : p) sum += b;
    const std::size_t gapBegin = code.size();
    const std::size_t gapEnd = 0x140;
    const unsigned need = kTargetSum - sum;
    const std::size_t erased = need / 0xFF;
    const std::size_t balanceAt = gapEnd - erased - 1;
    if (need > kTargetSum || balanceAt < gapBegin) {
        std::cerr << "mkbuiltin: patch code cannot reach its sum\n";
        std::exit(3);
    }
    p[balanceAt] = static_cast<std::uint8_t>(need % 0xFF);
    for (std::size_t i = balanceAt + 1; i < gapEnd; ++i) p[i] = 0xFF;
    return p;
}

// A fire macro: press, 40 ms, then an endless loop of one move and a delay, release, 40 ms.
Bytes fireBody(std::uint8_t x, std::uint8_t y, std::uint8_t delay) {
    Bytes b = {0xA1, 0xFE, 0x00, 0x28, 0xFD, 0x00, 0x04, x, y, 0xFE, 0x00, delay,
               0xFC, 0x21, 0xFE, 0x00, 0x28, 0x00};
    b.resize(32, 0x00);
    return b;
}

struct GunStep {
    std::uint8_t x, y, delay;
};

// Slots: AKM, M16A4, M416, UMP9, SCAR-L, 5.56 mm (two modes), 7.62 mm (three modes).
constexpr std::array<GunStep, 10> kStandardGuns{{
    {0x00, 0x05, 0x32}, {0x00, 0x03, 0x2D}, {0x00, 0x03, 0x28}, {0x00, 0x02, 0x2D},
    {0x00, 0x03, 0x32}, {0x00, 0x03, 0x2D}, {0x00, 0x04, 0x2D}, {0x00, 0x04, 0x32},
    {0x00, 0x05, 0x32}, {0x00, 0x06, 0x32},
}};
// A stronger set with some sideways correction for the heavier guns.
constexpr std::array<GunStep, 10> kStrongGuns{{
    {0xFF, 0x07, 0x30}, {0x00, 0x04, 0x2A}, {0x00, 0x05, 0x28}, {0x00, 0x03, 0x2A},
    {0xFF, 0x05, 0x30}, {0x00, 0x04, 0x2A}, {0x00, 0x06, 0x2A}, {0xFF, 0x06, 0x30},
    {0xFF, 0x07, 0x30}, {0xFE, 0x08, 0x30},
}};

void expectByte(const Image& img, std::size_t at, std::uint8_t want, int n) {
    if (img[at] != want) {
        std::fprintf(stderr, "mkbuiltin: image %d byte %zu is %02X, must be %02X\n", n, at, img[at], want);
        std::exit(3);
    }
}

Image build(int n) {
    Image img{};
    img.fill(0xFF);
    const bool first = n == 1;

    // Vendor section: USB identity and option bytes (RGB LED package, 1000 Hz), sensor tuning.
    put(img, 0, {0x1B, 0xCF, 0x08, 0xB8, 0xBF, 0xFF, 0x7F, 0xFF, 0xAF});
    put(img, 9, {0x20, 0x35, 0x29, 0x10, 0x30, 0x1A, 0x00, 0x00, 0x45, 0x02, 0xEF, 0x10, 0xEF, 0x10, 0xEF, 0x10,
                 0xFF, 0x10, 0x50, 0x03, 0x01, 0x02, 0x48, 0x96, 0xFA, 0x20, 0x1E, 0x02, 0x01, 0x20, 0x00});
    put(img, 40, {0x10, 0xE0});  // LED initialisation for the RGB LED package
    if (first) {
        put(img, 42, {0x3F, 0x03, 0x63, 0xB9, 0x98, 0xBA});  // 4 levels: 800 1600 3200 6400
        put(img, 48, {0x01, 0x00, 0x80, 0x00, 0x00, 0x64, 0x00, 0x64, 0x0A});
    } else {
        put(img, 42, {0x3F, 0x05, 0x63, 0x98, 0xBA, 0x0A});  // 6 levels: 800 1600 2400 3200 4800 6400
        put(img, 48, {0x01, 0x00, 0x80, 0x00, 0x00, 0x64, 0x01, 0x2C, 0x08});
    }
    put(img, 57, {0xFF, 0x00, 0x00, 0xFF, 0x80, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF,
                  0x00, 0xFF, 0x80, 0x00, 0xFF, 0xFF, 0x80, 0x00, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF});
    put(img, 87, {0x00, 0xFF, 0x00, 0xFF, 0xFF, 0x00, 0xFF, 0x80, 0x00, 0xFF, 0x00, 0x00,
                  0xFF, 0x00, 0x80, 0xFF, 0x00, 0xFF, 0x80, 0x00, 0xFF, 0x00, 0x00, 0xFF});
    putText(img, 111, first ? "GameMouse" : "HID Gaming Mouse", 16);
    if (first)
        putCodes(img, 127, {kOff, kLedMode, kOff, kGameModeExt, kCalculator, kOff, kOff, kOff, kOff});
    else
        putCodes(img, 127, {kOff, kLedMode, kOff, kGameModeExt, kNextTrack, kDesktop, kOff, kOff, kOff});
    img[163] = nivra::sectionCheckByte(std::span(img).subspan(0, 164));
    expectByte(img, 163, first ? 0x62 : 0x29, n);

    // User section: Office Mode with the assigned colour (image 1) or Game Mode with the gun
    // display and offset 0x20 (images 2 and 3); RGB breathing; CPI level 2; no X/Y offsets.
    if (first)
        put(img, 164, {0xF0, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00});
    else
        put(img, 164, {0xF1, 0x04, 0x01, 0x04, 0x0F, 0x00, 0x20});
    fill(img, 171, 191, 0x00);
    img[191] = nivra::sectionCheckByte(std::span(img).subspan(164, 28));
    expectByte(img, 191, first ? 0xAF : 0x73, n);

    // Profiles: office, game (fire key, CPI up/down, gun key), media.
    putCodes(img, 192, {kLeft, kBackwardChord, first ? kCpiDown : kFire2x60Hold, kRight, kForward, kDesktop,
                        kMiddle, kCpiLoop, kLedSwitch, kOff, kOff, kOff});
    putCodes(img, 241, {kLeft, kBackward, kFire3x60, kRight, kForward, kCpiUp, kMiddle, kCpiDown, kLedSwitch,
                        kGunAkm, kOff, kOff});
    putCodes(img, 290, {kLeft, kBackward, kPlayPause, kRight, kForward, kVolumeUp, kMiddle, kVolumeDown,
                        kCpiLoop, kOff, kOff, kOff});
    for (std::size_t at : {192u, 241u, 290u})
        img[at + 48] = nivra::sectionCheckByte(std::span(img).subspan(at, 49));

    // 339..483 stay 0xFF. Identity and fire-key block.
    put(img, 484, {0xFF, 0xFF});
    if (first)
        put(img, 486, {0x02, 0x00, 0x3C, 0x04, 0x00, 0x3C, 0x07, 0x00, 0x3C});
    else
        put(img, 486, {0x01, 0x00, 0x3C, 0x02, 0x00, 0x3C, 0x04, 0x00, 0x3C});
    img[495] = 0xE0;

    // No device macros.
    fill(img, 496, 1008, 0x00);

    // Patch-code header and patch code.
    put(img, 1008, {0x04, 0x00, 0x02, 0x00, 0x00, 0x1A, 0x26, 0x1A});
    put(img, 1024, patchCode());

    // Fire macros: names "Macro1".."Macro10" (UTF-16BE) and the gun bodies.
    fill(img, 1536, 2016, 0x00);
    for (int i = 0; i < 10; ++i) {
        const std::string name = "Macro" + std::to_string(i + 1);
        for (std::size_t c = 0; c < name.size(); ++c)
            img[1536 + 16 * static_cast<std::size_t>(i) + 2 * c + 1] = static_cast<std::uint8_t>(name[c]);
        const GunStep& g = (n == 3 ? kStrongGuns : kStandardGuns)[static_cast<std::size_t>(i)];
        put(img, 1696 + 32 * static_cast<std::size_t>(i), fireBody(g.x, g.y, g.delay));
    }
    return img;
}

std::string fileName(const std::string& dir, int n) {
    return dir + "/NivraData_Cfg" + std::to_string(n) + ".bin";
}

}  // namespace

int main(int argc, char** argv) {
    const bool check = argc == 3 && std::string_view(argv[1]) == "--check";
    if (!(argc == 2 && argv[1][0] != '-') && !check) {
        std::cerr << "usage: mkbuiltin DIR | mkbuiltin --check DIR\n";
        return 2;
    }
    const std::string dir = argv[argc - 1];
    int status = 0;
    for (int n = 1; n <= 3; ++n) {
        const Image img = build(n);
        const std::string path = fileName(dir, n);
        if (check) {
            std::ifstream in(path, std::ios::binary);
            const Bytes have((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (have != Bytes(img.begin(), img.end())) {
                std::cerr << "mkbuiltin: " << path << " differs from the generated image\n";
                status = 1;
            }
        } else {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(img.data()), static_cast<std::streamsize>(img.size()));
            if (!out) {
                std::cerr << "mkbuiltin: cannot write " << path << '\n';
                status = 1;
            }
        }
    }
    return status;
}
