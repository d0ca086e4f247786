// Where the skin puts things: one place for the coordinates that the pictures frame and the
// layout tables write, so the art and the tables cannot drift apart.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>

namespace skinart {

constexpr int kWindowW = 1030;
constexpr int kWindowH = 662;
constexpr int kCornerRadius = 18;
constexpr int kHeaderH = 64;     // top band with the mark and the language buttons
constexpr int kSidebarW = 160;   // left column with the page buttons
constexpr int kFooterY = 606;    // bottom band with Confirm and Exit

// Panel origins in page coordinates.
constexpr QPoint kP1{250, 96};
constexpr QPoint kP2{190, 118};
constexpr QPoint kP3{190, 118};
constexpr QPoint kP4{190, 118};
constexpr QPoint kP5{325, 150};
constexpr QPoint kP6{196, 6};  // clear of the mark in the header

// Profile panel: six key-label slots on each side of the mouse drawing (panel coordinates).
constexpr int kKeyW = 170;
constexpr int kKeyH = 27;
constexpr int kKeyLeftX = 12;
constexpr int kKeyRightX = 498;
constexpr int kKeyRow0Y = 22;
constexpr int kKeyRowStep = 58;

struct KeySlot {
    bool right;  // right column
    int row;     // 0..5 from the top
    QPoint anchor;  // the button's spot on the mouse drawing
};

// Button m (1..12) of the mouse: its slot and the spot of the call-out on the drawing. Each
// number points at the button that carries that number's function in the built-in images
// and the default profiles: 1 left, 4 right, 7 middle (the wheel), 2 back and 5 forward on
// the thumb side, 3 and 8 the CPI buttons behind the wheel, 6, 9 and 10 the lower thumb
// buttons, 11 and 12 the right flank.
constexpr std::array<KeySlot, 12> kButtonSlots{{
    {false, 0, {300, 86}},   // 1 left
    {false, 2, {263, 214}},  // 2 back
    {true, 2, {340, 126}},   // 3 CPI, front
    {true, 1, {380, 86}},    // 4 right
    {false, 1, {263, 176}},  // 5 forward
    {false, 3, {262, 252}},  // 6
    {true, 0, {340, 64}},    // 7 middle
    {true, 3, {340, 152}},   // 8 CPI, rear
    {false, 4, {266, 290}},  // 9
    {false, 5, {282, 330}},  // 10
    {true, 4, {417, 206}},   // 11
    {true, 5, {414, 262}},   // 12
}};

// Layout key k (1..12) places key label m: the tables number their slots column by column.
constexpr std::array<int, 12> kKeyLabelOrder{1, 4, 7, 2, 5, 8, 3, 6, 9, 10, 11, 12};

inline QRect keySlotRect(int button) {
    const KeySlot& s = kButtonSlots[static_cast<std::size_t>(button - 1)];
    return QRect(s.right ? kKeyRightX : kKeyLeftX, kKeyRow0Y + s.row * kKeyRowStep, kKeyW, kKeyH);
}

// Advanced panel.
constexpr QRect kCpiBox{8, 8, 414, 358};
constexpr QRect kRateBox{432, 8, 360, 56};
constexpr QRect kFireKeyBox{432, 72, 360, 108};
constexpr QRect kSpeedBox{432, 188, 360, 178};
constexpr int kCpiRow0Y = 40;
constexpr int kCpiRowStep = 35;
constexpr int kCpiCheckX = 18;
constexpr int kCpiLabelX = 40;
constexpr int kCpiValueX = 82;
constexpr int kCpiStepsX = 130;
constexpr int kCpiColourX = 380;
constexpr int kRateY = 34;
constexpr std::array<int, 4> kRateX{452, 537, 622, 707};
constexpr std::array<int, 3> kFireKeyY{100, 128, 156};
constexpr int kFireCntX = 520;
constexpr int kFireDelayX = 610;
constexpr int kFireContinueX = 724;
constexpr int kSpeedX = 448;
constexpr std::array<int, 3> kSpeedY{216, 268, 320};  // pointer speed, double-click, wheel
constexpr int kSpeedCheckX = 760;

// Breathing Light panel.
constexpr QRect kEffectBox{8, 8, 292, 358};
constexpr QRect kStepBox{312, 8, 480, 140};
constexpr QRect kColourBox{312, 158, 480, 208};
constexpr int kEffectX = 32;
constexpr int kEffectY0 = 52;
constexpr int kEffectStep = 48;
constexpr QPoint kStepTime{346, 72};
constexpr int kStepPitch = 27;  // a 26-pixel speed segment and StepTime_D = 1
constexpr int kColourX0 = 362;
constexpr int kColourStep = 84;
constexpr std::array<int, 2> kColourRowY{212, 292};

// Macro panel.
constexpr QRect kPcListRect{12, 40, 160, 270};
constexpr QRect kDevListRect{184, 40, 160, 270};
constexpr QRect kContentRect{356, 40, 212, 318};
constexpr QPoint kBtnNew{12, 324};
constexpr QPoint kBtnStart{184, 324};
constexpr QPoint kGroup{580, 36};  // the delay group and the insert group share the place
constexpr QRect kGroupRect{580, 36, 212, 322};

// Update picture.
constexpr QSize kUpdateSize{540, 102};

// Fire Macro panel.
constexpr QRect kGunBox{12, 40, 146, 496};
constexpr int kGunX = 24;
constexpr int kGunY0 = 52;
constexpr int kGunStep = 68;
constexpr std::array<int, 5> kGunModeSize{42, 52, 42, 52, 62};
constexpr std::array<int, 5> kGunModeX{28, 86, 154, 212, 280};
constexpr int kGunModeMidY = 592;
constexpr QRect kGunEditBox{170, 40, 538, 238};
constexpr std::array<int, 7> kGunEditX{190, 262, 334, 406, 478, 550, 632};  // cnt x xo y yo time colour
constexpr std::array<int, 3> kGunEditY{98, 150, 202};
constexpr QPoint kIsHasLK{190, 250};
constexpr QPoint kFireConfirm{450, 602};
constexpr QPoint kFireCancel{584, 602};

// Dialog picture: a card in the middle of a see-through field.
constexpr QSize kMsgSize{1000, 660};
constexpr QRect kDialogCard{310, 215, 380, 230};

}  // namespace skinart
