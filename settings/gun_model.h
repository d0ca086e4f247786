// The gun page: seven guns, each played by one to three of the ten fire macros (its columns).
// Per column the page edits the shot count, the X and Y move per shot with the X/Y offsets
// of the slot, the time between shots and the slot's LED colour; Confirm gives the button
// being edited the gun's code (in Game Mode) and sends the colours, the user section, the
// profiles, the fire-key block and the fire macro area. Edits of the fire macros change the
// working copy only until Confirm.
#pragma once

#include "image/codes.h"
#include "image/fields.h"
#include "macro/gun_params.h"
#include "settings/image_editor.h"

#include <QObject>
#include <QString>

#include <array>

namespace nivra {

class ButtonModel;
class LightingModel;
class ProfileModel;

inline constexpr int kGuns = 7;
inline constexpr int kGunColumns = 3;  // the most columns a gun has
inline constexpr int kGunModeImages = 5;

// The layout keys of the gun codes: the number of modes of guns 6 and 7.
struct GunLayout {
    int gun6Modes = 2;  // "Gun6_Num", 1..2
    int gun7Modes = 3;  // "Gun7_Num", 1..3
};

// The gun table: the first fire macro slot a gun plays, its column count and the low nibble
// of byte 1 of its code. Gun g = 1..7.
int gunFirstSlot(int gun);
int gunColumns(int gun);
std::uint8_t gunNibble(int gun);

// One parameter of a column.
enum class GunParam { Count, X, Y, XOffset, YOffset, Time };
enum class Axis { X, Y };

class GunModel : public QObject {
    Q_OBJECT
public:
    GunModel(ImageEditor& editor, ButtonModel& buttons, ProfileModel& profiles, LightingModel& lighting,
             QObject* parent = nullptr);

    void setLayout(const GunLayout& layout);
    const GunLayout& layout() const { return layout_; }

    // --- What the page shows ----------------------------------------------------------------
    int gun() const { return gun_; }               // the selected gun 1..7
    int columns() const { return gunColumns(gun_); }
    int slot(int column) const { return gunFirstSlot(gun_) + column - 1; }  // column 1..3
    // Img_GunMode1..5: 1-2 with gun 6, 3-5 with gun 7.
    bool modeImageShown(int image) const;
    // The text of a column's edit: what was typed, corrected by the limits; "0" for a column
    // the gun does not use.
    QString text(int column, GunParam p) const;
    // The column's macro has the parameter (count, move, time after the move); an edit of a
    // parameter the macro lacks changes nothing.
    bool has(int column, GunParam p) const;
    macro::GunParams params(int column) const;
    Rgb colour(int column) const;  // LED colour slot + 1
    bool keepLeft() const { return keepLeft_; }
    // The code Confirm gives the edited button: 0B, keep-left bit + nibble, modes, the gun
    // combination byte.
    ButtonCode gunCode(int gun) const;
    std::uint8_t modes(int gun) const;

    // --- Opening and selecting ----------------------------------------------------------------
    // Key_FireMacroClick: the user section read back from the mouse, then gun 1.
    void open();
    // Btn_Fire1Click..7: the gun's columns filled from its fire macros and offsets.
    void selectGun(int gun);

    // --- Column edits (the fire macros and offsets in the working copy; nothing is sent) -------
    // Edt_FireCnt c: empty or negative is 0, 256 or more is 255.
    void setCount(int column, const QString& text);
    // Edt_FireX c / Edt_FireY c: a lone "-" waits for more; empty is 0; -128..127 and so that
    // value + offset stays within -128..127.
    void setMove(int column, Axis axis, const QString& text);
    // Edt_FireX c Offset / Edt_FireY c Offset: the same limits with value and offset exchanged;
    // stored at 171 + slot (X) or 181 + slot (Y).
    void setOffset(int column, Axis axis, const QString& text);
    // Edt_FireTime c: empty is 0, above 65535 is 65535.
    void setTime(int column, const QString& text);
    // IB_FireColor c after the colour dialog's OK: the LED colour slot + 1 takes it, each
    // changed component written as the lighting edits write it.
    bool chooseColour(int column, Rgb colour);
    // lbl_FireSelLeftClick.
    void toggleKeepLeft();

    // Btn_FireConfirmClick for the button the function menu opened the page from. Busy,
    // changing and sending nothing, while a transfer runs; Applied when the mouse took every
    // report.
    EditResult confirm();
    // The last Confirm sent everything and the mouse took every write.
    bool confirmOk() const { return confirmOk_; }
    // Btn_FireExitClick: nothing is sent; the fire macros (names and bodies) and the X/Y
    // offsets go back in the working copy to what they were when the page was opened or
    // last confirmed, so that no later write carries the cancelled edits.
    void cancel();

    // --- Engineer offsets edt_XOffset k / edt_YOffset k (k = 1..10, slot k - 1) -----------------
    static int offsetAt(const Image& image, Axis axis, int k);
    int engineerOffset(Axis axis, int k) const { return offsetAt(editor_.work().bytes, axis, k); }
    // A lone "-" waits; empty is 0; -128..127; written live at 170 + k (X) or 180 + k (Y).
    // Returns the text the edit shows.
    QString setEngineerOffset(Axis axis, int k, const QString& text);

signals:
    void changed();
    // Confirm or Cancel: the page gives way to the main page.
    void closed();

private:
    struct Column {
        std::array<QString, 6> texts;
        macro::GunParams params;
    };
    Column& col(int column) { return columns_[static_cast<std::size_t>(column - 1)]; }
    const Column& col(int column) const { return columns_[static_cast<std::size_t>(column - 1)]; }
    bool editable(int column) const;
    int offsetOf(int column, Axis axis) const;
    std::size_t bodyOffset(int column) const;
    void writeBody(int column, std::size_t at, std::initializer_list<std::uint8_t> bytes);
    void fill();
    // What Cancel goes back to: taken when the page opens, at Confirm, and whenever the
    // mouse's own fire macros arrive (an image read, an imported fire macro file).
    void remember();
    void onBytesChanged(EditRegion region, std::size_t offset, std::size_t count);

    ImageEditor& editor_;
    ButtonModel& buttons_;
    ProfileModel& profiles_;
    LightingModel& lighting_;
    GunLayout layout_;
    int gun_ = 1;
    bool keepLeft_ = true;
    bool filling_ = false;  // the suppress flag: edits do nothing while the columns are filled
    bool ownEdit_ = false;
    bool confirmOk_ = false;  // the change being reported is one of this model's edits
    std::array<Column, kGunColumns> columns_;
    struct Remembered {
        std::array<FireMacroName, kFireMacroCount> names{};
        std::array<FireMacroBody, kFireMacroCount> bodies{};
        std::array<std::uint8_t, 20> offsets{};  // image 171-190
    } remembered_;
};

}  // namespace nivra
