// Page selection, picture states of the skinned buttons and the engineer state of the main
// window: plain data and rules, so they are testable without widgets.
#pragma once

#include "skin/page.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace nivra::ui {

// The page selectors rb_1..rb_8 (skin/page.h); the fire-macro page, opened from the
// function menu, has no selector of its own.
using nivra::Page;

inline constexpr int kPageCopies = 5;  // pages 1-5 carry their own copy of the page buttons

// Container number (gbPage1..gbPage7) that shows a page.
int containerOf(Page page);
bool isProfilePage(Page page);
std::string selectorName(Page page);  // "rb_1".."rb_8"

// Picture names of one kind of skinned button.
enum class ButtonKind { A, B, C, D, E, F, G, I, Web, Dialog, DialogClose };
struct KindPictures {
    std::string_view normal;
    std::string_view hover;
    std::string_view selected;  // empty when the kind has no selected / clicked picture
};
KindPictures picturesOf(ButtonKind kind);

// A page button of pages 1-5 (label Btn_<stem>_n, picture Img_<stem>_n).
struct PageButton {
    std::string_view stem;
    std::optional<Page> opens;  // empty for Save and Load
};
inline constexpr std::array<PageButton, 10> kPageButtons{{
    {"Main", Page::Office},   {"Switch", Page::Game},  {"Fixed", Page::Third},
    {"Adv", Page::Advanced},  {"Breath", Page::Light}, {"Macro", Page::Macro},
    {"Update", Page::Update}, {"Engineer", Page::Engineer},
    {"Save", std::nullopt},   {"Load", std::nullopt},
}};
std::string_view stemOf(Page page);

// "Img_" followed by the label's name without its leading "Btn_".
std::string pictureNameOf(std::string_view labelName);

// What a double-click on the page 1 background (or the engineer logo) leads to.
enum class DoubleClickAction { None, LeaveEngineerState, AskPassword };
// What the confirmed password turns on.
enum class PasswordOutcome { None, Reveal, EngineerState };

inline constexpr std::string_view kRevealPassword = "QorvinTek";
inline constexpr std::string_view kEngineerPassword = "QorvinTekWLP";

struct WindowState {
    Page page = Page::Office;
    int language = 1;
    bool reveal = false;          // reveal flag; together with engineerShown the engineer state
    bool engineerShown = false;   // engineer tabs and buttons shown
    bool fireKeyGuard = false;
    bool insertFlag = false;      // Macro page: Gb_Insert instead of Gb_Delay
    int doubleClicks = 0;         // shared with the Fire Macro Page

    DoubleClickAction onEngineerDoubleClick();
    // text is empty when the prompt was cancelled.
    static PasswordOutcome passwordOutcome(const std::optional<std::string>& text);
    void setEngineerState(bool on);
};

// Resting picture of a kind B or D button: "SetS_03" on the item in effect, else "SetS_01".
std::string_view restingPicture(bool inEffect);

// Window size for a page: the background size, or 1256 x 680 for the engineer page.
inline constexpr int kEngineerWidth = 1256;
inline constexpr int kEngineerHeight = 680;

// Left or top that centres a length inside another; halves truncated toward zero.
constexpr int centredOffset(int outer, int inner) { return (outer - inner) / 2; }

}  // namespace nivra::ui
