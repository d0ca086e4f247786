// The lighting editor: LED controller type and LED count, the effect and the effects the
// mouse may cycle through, ten user colours and eight CPI colours, breathing brightness and
// timing, the speed bar, and the LED hardware options. Every value lives in the working
// copy; LightingModel changes it through ImageEditor, and decodeLighting() says what the
// Breathing Light page and the engineer tab show for it.
#pragma once

#include "image/fields.h"
#include "image/image.h"
#include "image/types.h"
#include "settings/image_editor.h"

#include <QObject>

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace nivra {

inline constexpr int kEffectButtons = 6;      // lbl_LED1..6: mode codes 0..5
inline constexpr int kUserColours = 10;       // lbl_Col1..10
inline constexpr int kCpiColours = 8;
inline constexpr int kSpeedBarSegments = 10;  // Img_Fall1..10
inline constexpr int kMaxZkLeds = 8;

namespace lighting {

// The mode codes of a type's effects in list order (cb_BreMode, the engineer check boxes):
// RGB 0..5, Sync 0..2, ZK 0, 1, 2, 4, 5.
std::span<const int> effectCodes(LedType type);
bool hasEffect(LedType type, int code);
// Item of cb_BreMode for a mode code and back; -1 when the type has no such effect.
int itemOfCode(LedType type, int code);
int codeOfItem(LedType type, int item);
// Row of the engineer caption table that names the effect (21..32); -1 for none.
int effectCaptionRow(LedType type, int code);
// The mode-enable bits a type can use: 0x3F, 0x07, 0x37.
std::uint8_t typeEnableMask(LedType type);
// The effect a type change starts with: CPI Breath (RGB), Sync No-breath, Fixed (ZK).
int startCode(LedType type);

// The lighting mode byte (image 165). Bits 7-6 the type (00 RGB, 01 Sync, 1x ZK); for ZK
// bits 6-4 hold the LED count minus one; bits 3-0 the mode code.
std::uint8_t lightingByte(LedType type, int zkLedCount, int code);
int zkLedCountOf(std::uint8_t byte165);  // 1..8 for a ZK byte, 0 otherwise

// Speed bar segment 1..10 for a Step Delay: 1 up to 5, then one segment per 5, 10 above 45.
int speedBarPosition(int stepDelay);
// Step Delay of bar segment n (1..10).
constexpr int stepDelayOfSegment(int n) { return 5 * n; }

// "RGB", "Sync", "ZK" (what the shell reads and writes); LedType::None gives "".
std::string_view typeWord(LedType type);

}  // namespace lighting

// The four breathing fields (two bytes each, high byte first).
enum class Breathing { Lower, Upper, LowerDelay, UpperDelay };
struct BreathingField {
    std::size_t offset;
    int max;
};
BreathingField breathingField(Breathing which);

// The LED hardware options: one bit field each of bytes 5 and 7, shown as list items.
enum class LedOption { Package, LEDCtrl0, LEDCtrl1, LEDModeFuse, LEDPower };
BitField ledOptionField(LedOption option);

// Everything the lighting views show, decoded from the working copy and the current type.
struct LightingView {
    LedType type = LedType::None;  // the current LED controller type (cb_LEDMode)
    int zkLedCount = 0;            // 1..8 for ZK (cb_LEDNum item + 1), 0 for the others
    int modeCode = 0;              // bits 3-0 of byte 165
    std::uint8_t enableMask = 0;   // byte 42: bit n ticks check box cb_Mode<n>
    std::array<bool, kEffectButtons> boxShown{};  // cb_Mode0..5 belong to the type
    // Effect button n+1 (mode code n) is shown: the type has the effect and it is enabled.
    std::array<bool, kEffectButtons> effectShown{};
    int selectedItem = -1;    // cb_BreMode; -1 when byte 165 holds no effect of the type
    int currentButton = 0;    // 1..6, the button that carries "RdS_E"; 0 for none
    bool speedBarEnabled = true;  // off for CPI Breath
    int stepDelay = 0;
    int speedBar = 1;             // 1..10
    bool coloursShown = true;     // the colour swatches and groups: RGB and ZK
    std::array<Rgb, kUserColours> colours{};
    std::array<Rgb, kCpiColours> cpiColours{};
    std::array<int, 4> breathing{};  // Lower, Upper, Lower Delay, Upper Delay
    std::array<int, 5> options{};    // the item of each LedOption, in enum order (package: byte 5 bit 7)
    std::array<int, 2> ledInit{};    // bytes 40, 41
};

// `current` is the program's current type; LedType::None takes it from byte 165.
LightingView decodeLighting(const Image& image, LedType current);

// The lighting editor. Each handler is the one call of the control event it is named after;
// every change goes through the ImageEditor (working copy, then a live write; nothing while
// busy). changed() follows every change of a lighting byte and every new image.
class LightingModel : public QObject {
    Q_OBJECT
public:
    explicit LightingModel(ImageEditor& editor, QObject* parent = nullptr);

    LightingView view() const;
    LedType type() const;
    // The item cb_Package shows: the package of the current type after each refresh, or the
    // engineer's choice since (the default generators read it for bytes 40-41).
    PackageChoice packageShown() const { return editor_.state().package; }

    // cb_LEDModeChange: the type is recorded (and the package shown for it), every effect of
    // the type enabled (byte 42), its starting effect written (byte 165), then the whole
    // configuration rebuilt from the type's defaults and written whole (I2C), with the
    // restart and re-read that follows. Refused without a mouse, while busy, or for the
    // type in effect.
    EditResult cb_LEDModeChange(LedType type);
    // cb_LEDNumChange: ZK only, item 0..7 for 1..8 LEDs.
    EditResult cb_LEDNumChange(int item);
    // cb_BreModeChange: an item of the effect list; a disabled effect ("------") does nothing.
    EditResult cb_BreModeChange(int item);
    // TLRefreshBreathMode after a click on cb_Mode<box> (0..5): the mask is recomputed from
    // the type's boxes and written; when the effect in use was disabled, the lowest enabled
    // one is selected and written.
    EditResult TLRefreshBreathMode(int box, bool ticked);
    // RGBMode_OnClick: effect button 1..6 selects mode code button - 1 (shown effects only).
    EditResult RGBMode_OnClick(int button);
    // FallTime_OnClick: bar segment 1..10 writes Step Delay 5 x segment (not for CPI Breath).
    EditResult FallTime_OnClick(int segment);

    // The edits return the value they hold after the limit (what the edit then shows).
    int edt_StepTimeChange(int value);               // 0..255, byte 56
    int breathingChange(Breathing which, int value);  // edt_LowerChange .. edt_UpperTimeChange
    // edt_Col<n><R|G|B>Change: colour n 1..10, component 0..2 (R, G, B), 0..255.
    int colourComponentChange(int n, int component, int value);
    // edt_CPI<level><R|G|B>Change: level 1..8.
    int cpiColourComponentChange(int level, int component, int value);
    // lbl_Col<n>Click after the colour dialog's OK: each component that changed is written
    // as its edit writes it, then all three bytes together (RGB and ZK only).
    EditResult lbl_ColClick(int n, Rgb colour);

    // cb_PackageChange, cb_LEDCtrl0Change, cb_LEDCtrl1Change, cb_LEDModeFuseChange,
    // cb_LEDPowerChange: the list item into the field's bits, the whole byte written.
    EditResult ledOptionChange(LedOption option, int item);
    // edt_LEDInit0Change / edt_LEDInit1Change: n 0 or 1, 0..255 (0xFF above).
    int edt_LEDInitChange(int n, int value);

    ImageEditor& editor() { return editor_; }

signals:
    void changed();

private:
    void rememberZkCount();
    EditResult writeMode(int code);  // byte 165 from the type, the ZK count and the code
    EditResult clampAndWrite(std::size_t offset, int value, int max, int& shown);

    ImageEditor& editor_;
    int lastZkCount_ = kMaxZkLeds;  // cb_LEDNum's item, kept while another type is shown
};

}  // namespace nivra
