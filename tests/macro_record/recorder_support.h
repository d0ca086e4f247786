// A listing and a clock for recorder tests.
#pragma once

#include "macro/recorder.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace nivra::test {

class VectorListing : public RecordingListing {
public:
    std::vector<std::string> lines;
    std::size_t selected = static_cast<std::size_t>(-1);

    std::size_t size() const override { return lines.size(); }
    void insertLine(std::size_t line, const std::string& text) override {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(line), text);
    }
    void selectRow(std::size_t row) override { selected = row; }
};

struct TestClock {
    std::atomic<std::uint64_t> ms{1000};
    void advance(std::uint64_t d) { ms.fetch_add(d); }
    MacroRecorder::Milliseconds fn() {
        return [this] { return ms.load(); };
    }
};

// Compiled bytes of a listing's lines (header excluded): delay 3, key or modifier 2,
// mouse button 1, move 3, loop start 2, loop end 1.
inline unsigned compiledBytes(const std::vector<std::string>& lines) {
    unsigned n = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        switch (l[0]) {
        case '0': n += 3; break;
        case '1':
        case '2': n += l.compare(l.size() - 4, 2, "00") == 0 ? 1 : 2; break;
        case '3': n += 3; break;
        case '7': n += 2; break;
        case '8': n += 1; break;
        default: break;
        }
    }
    return n;
}

}  // namespace nivra::test
