// CPI levels, the level in effect, level colours, the AIM level, the report rate and the
// four CPI option fields: the state both the Advanced page and the engineer tab show, and
// the edits that send each change to the mouse at once through the ImageEditor.
#pragma once

#include "image/fields.h"
#include "settings/image_editor.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>

namespace nivra {

// The CPI option fields of bytes 5 and 6, each shown as a list of items.
enum class CpiOption { Indication, Set, Level, Prescale };

// The items of an option list and the field bits each item stands for.
struct CpiOptionItems {
    BitField field;
    QStringList items;
    std::array<std::uint8_t, 4> bits;  // bits of item i; unused entries repeat the last
};
const CpiOptionItems& cpiOptionItems(CpiOption o);

class CpiModel : public QObject {
    Q_OBJECT
public:
    // `restart` restarts the mouse and finds it again (the waits run on the injectable clock);
    // the report rate calls it when the rate changes.
    using Restart = std::function<void()>;
    CpiModel(ImageEditor& editor, Restart restart, QObject* parent = nullptr);

    // --- What both views show --------------------------------------------------------------
    int levelCount() const { return count_; }                    // 1..8
    bool levelEnabled(int level) const { return level >= 1 && level <= count_; }
    // Value index 0..11 of level 1..8; -1 when the level has no value (nibble 0xF).
    int levelValue(int level) const;
    int currentLevel() const { return current_; }                // 1..8, the level marked in effect
    Rgb levelColour(int level) const;                            // from the working copy
    // The AIM level of the user view (0..11), -1 for an AIM key holding 0xFF (empty label).
    int aimLevel() const { return aim_; }
    // The AIM level the engineer list shows (TLRefreshAIMKey, or the last one chosen there).
    int engineerAimLevel() const { return engineerAim_; }
    // The rate byte 4 of the working copy selects, in Hz, and the rate last known to run.
    int reportRate() const;
    int lastKnownRate() const { return lastKnownRate_; }
    int optionItem(CpiOption o) const;
    // The mouse is restarting for a new report rate: the page takes no clicks meanwhile.
    bool restarting() const { return restarting_; }
    // "CPI1" .. "CPI<count>": the items of cb_CurrentCPI.
    QStringList currentLevelItems() const;

    // --- Edits. Each does nothing while the editor is busy. -------------------------------------
    // A level label clicked: enables the next level or disables the last one.
    void clickLevel(int level);
    // Level 1..8 gets value index 0..11; the pair byte, then byte 166 twice.
    void setLevelValue(int level, int index);
    // The radio picture of an enabled level, or cb_CurrentCPI item level - 1.
    void setCurrentLevel(int level);
    // cb_CPISteps: number of levels 1..8.
    void setLevelCount(int count);
    // The colour dialog's choice for level 1..8.
    void chooseLevelColour(int level, Rgb colour);
    // A colour edit of level 1..8 (component 0 R, 1 G, 2 B); a value above 255 is taken as
    // 255. Returns the value written (what the edit then shows), -1 when nothing was done.
    int setLevelColourComponent(int level, int component, int value);
    // The AIM level 0..11 from the AIM bar (fromEngineer false) or from cb_AIM. False when no
    // button of the three profiles is an AIM key (a message follows then).
    bool setAimLevel(int index, bool fromEngineer);
    // 125, 250, 500 or 1000 Hz; other values are ignored.
    void setReportRate(int hz);
    void setOption(CpiOption o, int item);

    // --- Refreshes -----------------------------------------------------------------------------
    // Everything from the working copy (after a read of the image).
    void refresh();
    // The mouse reported a CPI key event and its level in effect (byte 166) was read back.
    void RefreshCurrentDPIStatus(std::uint8_t level);
    // The AIM level of the profile shown (user view).
    void RefreshAIMKey();
    // The AIM level over profiles 1..3 and then the profile `profile` (1..3) chosen on the
    // engineer tab, the last AIM key found winning.
    void TLRefreshAIMKey(int profile);

    // The text the engineer view shows when no AIM key exists.
    static constexpr const char* kNoAimKeyEngineerText = "Please select a AIM Key in Profile1 to Profile3!";

signals:
    void changed();
    // A language id to show in the program's message dialog ("Str105").
    void message(const QString& id);
    // A fixed text for a plain message box with an empty caption (the engineer view).
    void plainMessage(const QString& text);

private:
    void onBytesChanged(EditRegion region, std::size_t offset, std::size_t count);
    void writePairByte(int level);
    void markLevelCount(int count);
    int profileShown() const;
    bool isAimKey(int profile, int key) const;
    int aimOfProfile(int profile, bool* found) const;

    ImageEditor& editor_;
    Restart restart_;
    int count_ = 1;
    std::array<std::uint8_t, 8> values_{};
    int current_ = 1;
    int aim_ = 0;
    int engineerAim_ = 0;
    int lastKnownRate_ = 0;
    int profileSeen_ = -1;
    bool restarting_ = false;
};

}  // namespace nivra
