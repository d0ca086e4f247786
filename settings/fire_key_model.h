// The three fire keys (auto-fire): clicks per press, interval and the Continue choice, as the
// Advanced page and the engineer tab show them. A change rewrites every button that uses the
// fire key in all three profiles and sends the profiles and the fire-key block.
#pragma once

#include "settings/image_editor.h"

#include <QObject>
#include <QString>

#include <algorithm>
#include <array>
#include <initializer_list>

namespace nivra {

class FireKeyModel : public QObject {
    Q_OBJECT
public:
    explicit FireKeyModel(ImageEditor& editor, QObject* parent = nullptr);

    // Fire key n = 1..3.
    int count(int n) const { return keys_[idx(n)].count; }        // clicks per press
    int interval(int n) const { return keys_[idx(n)].interval; }  // ms
    bool continueOn(int n) const { return keys_[idx(n)].continueOn; }
    // The texts of the user page edits Edt_Repeat n and Edt_DelayTime n.
    QString repeatText(int n) const { return repeatText_[idx(n)]; }
    QString delayText(int n) const { return delayText_[idx(n)]; }

    // --- The user page (each change applies at once through SettingFireKey) -------------------
    // Edt_Repeat n changed: empty (or 0) becomes 2, above 15 becomes 15.
    void setUserRepeat(int n, const QString& digits);
    // Leaving Edt_Repeat n: the user page offers 2..15 clicks, so 1 becomes 2.
    void leaveUserRepeat(int n);
    // Edt_DelayTime n changed: empty or 0 becomes 1, above 4094 becomes 4094.
    void setUserDelay(int n, const QString& digits);
    // lbl_Fire n ContinueClick.
    void toggleUserContinue(int n);

    // --- The engineer tab (TLSettingFireKey) ------------------------------------------------------
    void setEngineerCount(int n, int item);              // cb_Fire n Count: item 0..14 = 1..15 clicks
    void setEngineerInterval(int n, const QString& digits);  // edt_Fire n Time: above 4094 becomes 4094
    void toggleEngineerContinue(int n);                  // cb_Fire n Continue

    // One call for the command line: fire key n gets count, interval and Continue together.
    void setFireKey(int n, int count, int interval, bool continueOn);

    // --- Refreshes ------------------------------------------------------------------------------
    // The definitions from the fire-key block, then Continue from the buttons.
    void refresh();
    // Continue from the buttons of the profile shown (off for a fire key none of them uses).
    void RefreshFireKey();
    // Continue from the buttons of all three profiles, the last one found winning.
    void TLRefreshFireKey();

signals:
    void changed();

private:
    struct Key {
        int count = 2;
        int interval = 60;
        bool continueOn = false;
    };
    static std::size_t idx(int n) { return static_cast<std::size_t>(std::clamp(n, 1, 3) - 1); }
    // Writes the fire-key block and every button of the fire keys. `continueChosen` is the
    // fire key (1..3) whose Continue the user just set: its buttons take it; every other
    // button keeps its own Continue bit. 0: no Continue was chosen.
    void SettingFireKey(int continueChosen = 0);
    void TLSettingFireKey(int continueChosen = 0) { SettingFireKey(continueChosen); }
    void showTexts();
    int profileShown() const;
    void continueFrom(std::initializer_list<int> profiles);
    void onBytesChanged(EditRegion region, std::size_t offset, std::size_t count);

    ImageEditor& editor_;
    std::array<Key, 3> keys_{};
    std::array<QString, 3> repeatText_;
    std::array<QString, 3> delayText_;
    int profileSeen_ = -1;
};

}  // namespace nivra
