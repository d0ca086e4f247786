// The rolling caption of a hovered page button (layout switch "TR_Enable"): while it rolls,
// each 200 ms tick turns the caption one character to the left.
#pragma once

#include <QString>

namespace nivra::skin {

inline constexpr int kTextRollingIntervalMs = 200;

// The window starts rolling when the pointer enters a page button while "TR_Enable" is 1 and
// the program is not busy, ticks it every kTextRollingIntervalMs, and on leaving stops and
// puts back original().
class CaptionRoller {
public:
    // Starts over with CAPTION; the counter goes back to 1.
    void reset(const QString& caption);
    // One tick: on the first tick after a reset four blanks first go between the end and the
    // start, so the text reads apart as it wraps; the counter runs 1..20, then restarts at 2.
    QString tick();

    const QString& caption() const { return caption_; }
    const QString& original() const { return original_; }
    int counter() const { return counter_; }

private:
    QString original_;
    QString caption_;
    int counter_ = 1;
};

}  // namespace nivra::skin
