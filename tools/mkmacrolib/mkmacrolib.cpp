// mkmacrolib: builds the default PC macro library shipped with the program (100 records of a
// 16-byte UTF-16BE name and a 256-byte byte code slot) and writes it as
// resources/macros/PCMacroData.bin, or checks the committed file.
//
//   mkmacrolib FILE          write the library into FILE
//   mkmacrolib --check FILE  exit 0 when FILE equals what this program builds
//
// The macros are everyday shortcuts and a few game helpers; every one is made of whole
// instructions and ends with the end marker, so it reads back as a listing and compiles to
// the same bytes.
#include <array>
#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kRecords = 100;
constexpr std::size_t kNameSize = 16;
constexpr std::size_t kSlotSize = 256;

// Keyboard usages and modifier bits used below.
namespace key {
constexpr std::uint8_t A = 0x04, C = 0x06, D = 0x07, E = 0x08, F = 0x09, G = 0x0A, L = 0x0F, R = 0x15,
                       S = 0x16, T = 0x17, V = 0x19, X = 0x1B, Y = 0x1C, Z = 0x1D, Enter = 0x28, Esc = 0x29,
                       Tab = 0x2B, Space = 0x2C, Minus = 0x2D, Equal = 0x2E, F4 = 0x3D, F5 = 0x3E,
                       PrintScreen = 0x46, Home = 0x4A, End = 0x4D;
}
namespace mod {
constexpr std::uint8_t Ctrl = 0x01, Shift = 0x02, Alt = 0x04, Win = 0x08;
}
constexpr std::uint8_t kLeft = 0x01, kRight = 0x02;

struct Macro {
    std::string name;  // ASCII, at most 8 characters
    Bytes code;        // without the end marker
};

void delay(Bytes& b, unsigned ms) {
    b.insert(b.end(), {0xFE, static_cast<std::uint8_t>(ms >> 8), static_cast<std::uint8_t>(ms & 0xFF)});
}

// Modifiers pressed in order, the key tapped, modifiers released in reverse order, with the
// same delay between every two events (so the listing reads back as Default Delay).
Bytes chord(std::initializer_list<std::uint8_t> mods, std::uint8_t usage, unsigned ms = 20) {
    Bytes b;
    for (std::uint8_t m : mods) {
        b.insert(b.end(), {0x81, m});
        delay(b, ms);
    }
    b.insert(b.end(), {0x82, usage});
    delay(b, ms);
    b.insert(b.end(), {0x02, usage});
    std::vector<std::uint8_t> rev(mods);
    for (auto it = rev.rbegin(); it != rev.rend(); ++it) {
        delay(b, ms);
        b.insert(b.end(), {0x01, *it});
    }
    return b;
}

Bytes click(std::uint8_t button, unsigned hold) {
    Bytes b{static_cast<std::uint8_t>(0xA0 | button)};
    delay(b, hold);
    b.push_back(static_cast<std::uint8_t>(0x20 | button));
    return b;
}

Bytes clicks(std::uint8_t button, int n, unsigned hold, unsigned gap) {
    Bytes b;
    for (int i = 0; i < n; ++i) {
        if (i > 0) delay(b, gap);
        Bytes c = click(button, hold);
        b.insert(b.end(), c.begin(), c.end());
    }
    return b;
}

Bytes loop(std::uint8_t count, const Bytes& body) {
    Bytes b{0xFD, count};
    b.insert(b.end(), body.begin(), body.end());
    b.push_back(0xFC);
    return b;
}

Bytes tap(std::uint8_t usage, unsigned hold) {
    Bytes b{0x82, usage};
    delay(b, hold);
    b.insert(b.end(), {0x02, usage});
    return b;
}

Bytes join(std::initializer_list<Bytes> parts) {
    Bytes b;
    for (const Bytes& p : parts) b.insert(b.end(), p.begin(), p.end());
    return b;
}

Bytes moveBy(int x, int y) { return {0x04, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)}; }

Bytes withDelay(unsigned ms) {
    Bytes b;
    delay(b, ms);
    return b;
}

std::vector<Macro> macros() {
    using namespace key;
    return {
        {"Copy", chord({mod::Ctrl}, C)},
        {"Paste", chord({mod::Ctrl}, V)},
        {"Cut", chord({mod::Ctrl}, X)},
        {"Undo", chord({mod::Ctrl}, Z)},
        {"Redo", chord({mod::Ctrl}, Y)},
        {"Sel All", chord({mod::Ctrl}, A)},
        {"Save", chord({mod::Ctrl}, S)},
        {"Find", chord({mod::Ctrl}, F)},
        {"New Tab", chord({mod::Ctrl}, T)},
        {"Reopen", chord({mod::Ctrl, mod::Shift}, T)},
        {"Refresh", tap(F5, 20)},
        {"Zoom In", chord({mod::Ctrl}, Equal)},
        {"Zoom Out", chord({mod::Ctrl}, Minus)},
        {"Alt+Tab", chord({mod::Alt}, Tab, 30)},
        {"Close", chord({mod::Alt}, F4, 30)},
        {"Desktop", chord({mod::Win}, D, 30)},
        {"Lock PC", chord({mod::Win}, L, 30)},
        {"Run", chord({mod::Win}, R, 30)},
        {"Task Mgr", chord({mod::Ctrl, mod::Shift}, Esc, 30)},
        {"PrtSc", tap(PrintScreen, 30)},
        {"Snip", chord({mod::Win, mod::Shift}, S, 30)},
        {"DblClick", clicks(kLeft, 2, 20, 40)},
        {"TplClick", clicks(kLeft, 3, 20, 40)},
        {"RapidClk", loop(20, join({click(kLeft, 20), withDelay(30)}))},
        {"RapidRt", loop(10, join({click(kRight, 20), withDelay(40)}))},
        {"Doc Top", chord({mod::Ctrl}, Home)},
        {"Doc End", chord({mod::Ctrl}, End)},
        {"Square", loop(4, join({moveBy(20, 0), withDelay(10), moveBy(0, 20), withDelay(10), moveBy(-20, 0),
                                 withDelay(10), moveBy(0, -20), withDelay(10)}))},
        {"Jump+Cr", join({tap(Space, 60), withDelay(40), Bytes{0x81, mod::Ctrl}, withDelay(400), Bytes{0x01, mod::Ctrl}})},
        {"Spam E", loop(10, join({tap(E, 30), withDelay(50)}))},
        {"Say GG", join({tap(Enter, 30), withDelay(80), Bytes{0x81, mod::Shift}, withDelay(20), tap(G, 20),
                         withDelay(20), tap(G, 20), withDelay(20), Bytes{0x01, mod::Shift}, withDelay(80),
                         tap(Enter, 30)})},
    };
}

Bytes build() {
    Bytes out(kRecords * (kNameSize + kSlotSize), 0);
    const std::vector<Macro> all = macros();
    for (std::size_t i = 0; i < all.size() && i < kRecords; ++i) {
        const Macro& m = all[i];
        if (m.name.empty() || m.name.size() > 8 || m.code.size() + 1 > kSlotSize) {
            std::cerr << "mkmacrolib: macro " << i << " does not fit its record\n";
            return {};
        }
        const std::size_t at = i * (kNameSize + kSlotSize);
        for (std::size_t c = 0; c < m.name.size(); ++c) out[at + 2 * c + 1] = static_cast<std::uint8_t>(m.name[c]);
        for (std::size_t c = 0; c < m.code.size(); ++c) out[at + kNameSize + c] = m.code[c];
        // The end marker and the rest of the slot are already zero.
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    const bool check = argc == 3 && std::string_view(argv[1]) == "--check";
    if (!(argc == 2 && argv[1][0] != '-') && !check) {
        std::cerr << "usage: mkmacrolib FILE | mkmacrolib --check FILE\n";
        return 2;
    }
    const Bytes lib = build();
    if (lib.empty()) return 1;
    const std::string path = argv[argc - 1];
    if (check) {
        std::ifstream in(path, std::ios::binary);
        const Bytes have{std::istreambuf_iterator<char>(in), {}};
        if (have != lib) {
            std::cerr << "mkmacrolib: " << path << " differs from the generated library\n";
            return 1;
        }
        return 0;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(lib.data()), static_cast<std::streamsize>(lib.size()));
    if (!out) {
        std::cerr << "mkmacrolib: cannot write " << path << '\n';
        return 1;
    }
    return 0;
}
