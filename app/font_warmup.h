// Loads the font configuration on a thread of its own while the application object connects
// to the display.
#pragma once

#include <thread>

namespace nivra::app {

// Reading fontconfig's configuration files and font caches is the larger part of the first
// text the window measures, and it needs no display. Qt's font database finds the
// configuration loaded when it asks for it after join().
class FontConfigWarmUp {
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

    // Waits for the configuration; call before the first font is used.
    void join();

private:
    std::thread thread_;
};

}  // namespace nivra::app
