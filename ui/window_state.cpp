// Rules of the main window that need no widgets.
#include "ui/window_state.h"

namespace nivra::ui {

int containerOf(Page page) {
    switch (page) {
        case Page::Office:
        case Page::Game:
        case Page::Third: return 1;
        case Page::Advanced: return 2;
        case Page::Light: return 3;
        case Page::Macro: return 4;
        case Page::Update: return 5;
        case Page::Engineer: return 7;
    }
    return 1;
}

bool isProfilePage(Page page) {
    return page == Page::Office || page == Page::Game || page == Page::Third;
}

std::string selectorName(Page page) { return "rb_" + std::to_string(static_cast<int>(page)); }

KindPictures picturesOf(ButtonKind kind) {
    switch (kind) {
        case ButtonKind::A: return {"BtnS_01", "BtnS_02", "BtnS_03"};
        case ButtonKind::B:
        case ButtonKind::D: return {"SetS_01", "SetS_02", "SetS_03"};
        case ButtonKind::C:
        case ButtonKind::E: return {"KeyS_01", "KeyS_02", ""};
        case ButtonKind::F: return {"MacroS_01", "MacroS_02", ""};
        case ButtonKind::G: return {"MacroBtnS_01", "MacroBtnS_02", ""};
        case ButtonKind::I: return {"ExitS_01", "ExitS_02", ""};
        case ButtonKind::Web: return {"WebS_01", "WebS_03", "WebS_02"};
        case ButtonKind::Dialog: return {"BtnS_01", "BtnS_02", "BtnS_03"};
        case ButtonKind::DialogClose: return {"ExitS_01", "ExitS_02", "ExitS_03"};
    }
    return {};
}

std::string_view stemOf(Page page) {
    for (const PageButton& b : kPageButtons)
        if (b.opens == page) return b.stem;
    return {};
}

std::string pictureNameOf(std::string_view labelName) {
    constexpr std::string_view prefix = "Btn_";
    if (labelName.starts_with(prefix)) labelName.remove_prefix(prefix.size());
    return "Img_" + std::string(labelName);
}

DoubleClickAction WindowState::onEngineerDoubleClick() {
    if (reveal) {
        setEngineerState(false);
        return DoubleClickAction::LeaveEngineerState;
    }
    ++doubleClicks;
    return doubleClicks % 5 == 0 ? DoubleClickAction::AskPassword : DoubleClickAction::None;
}

PasswordOutcome WindowState::passwordOutcome(const std::optional<std::string>& text) {
    if (!text) return PasswordOutcome::None;
    if (*text == kRevealPassword) return PasswordOutcome::Reveal;
    if (*text == kEngineerPassword) return PasswordOutcome::EngineerState;
    return PasswordOutcome::None;
}

void WindowState::setEngineerState(bool on) {
    reveal = on;
    engineerShown = on;
}

std::string_view restingPicture(bool inEffect) { return inEffect ? "SetS_03" : "SetS_01"; }

}  // namespace nivra::ui
