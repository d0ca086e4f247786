// The footer's line about the mouse: what it says, its tooltip and the colour of its dot,
// from what the window knows of the connection at that moment.
#pragma once

#include <QColor>
#include <QString>

#include <cstdint>

namespace nivra::ui {

class SkinPort;

struct ConnectionFacts {
    bool open = false;        // the mouse's handles are open and it has not gone away
    bool reading = false;     // the no-device image still stands in while the mouse is read
    bool restarting = false;  // the window runs a restart of the mouse (a whole-image write)
    QString deniedPath;       // a device node of the mouse this user may not open
    QString name;             // the mouse's USB product name (or the program's title)
    std::uint32_t vendorId = 0;
    std::uint32_t productId = 0;
    QString memoryType;
};

struct FooterLine {
    QString text;
    QString tip;
    QColor dot;
};

// A restart comes first: the mouse leaves and comes back on purpose then, and neither
// "connected" nor "no mouse" would be true.
FooterLine connectionFooterLine(const ConnectionFacts& facts, const SkinPort& skin);

}  // namespace nivra::ui
