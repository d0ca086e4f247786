// The main window TForm1: seven pages, one in view at a time, the page buttons, the covering
// labels, the loading splash, the tray icon, dragging and closing. The handlers keep the names
// of the controls and events they serve.
#pragma once

#include "ui/window_state.h"

#include <QBitmap>
#include <QHash>
#include <QPoint>
#include <QSet>
#include <QString>
#include <QWidget>

#include <memory>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

class QButtonGroup;
class QTimer;
class QLabel;
class QAction;
class QMenu;
class QSystemTrayIcon;

namespace nivra {
class LightingModel;
class ButtonModel;
class FireMacroModel;
class GunModel;
class MacroModel;
class MouseSession;
class ProfileModel;
}

namespace nivra::ui {

class AdvancedPage;
class AdvancedSetup;
class Desktop;
class EngineerPage;
class FireMacroEditor;
class FireMacroPage;
class WidgetIndex;
class LightPage;
class LoadingSplash;
class MacroPage;
class MacroPageRecording;
class ProfilePage;
class SkinButton;
class SkinPage;
class SkinPort;
class UpdatePage;

inline constexpr const char* kWindowTitle = "Nivra Gaming Mouse v1.0";
inline constexpr const char* kApplicationTitle = "Gaming Mouse";

class MainWindow : public QWidget {
    Q_OBJECT
public:
    // The window listens to the session's signals and calls one session method per handler.
    // startLanguage: the language number (1..3) the window starts in.
    MainWindow(SkinPort& skin, MouseSession& session, Desktop& desktop, QWidget* parent = nullptr,
               int startLanguage = 1);
    ~MainWindow() override;

    // Starts decoding the pictures the window shows first in `startLanguage`; the window
    // does it itself when built, the program may do it sooner (the decoding needs no
    // display).
    static void prefetchStartPictures(SkinPort& skin, int startLanguage);

    MacroModel& macroModel() { return *macroModel_; }
    MacroPageRecording& macroRecording();  // builds the Macro page when it is not built yet
    FireMacroModel& fireMacroModel() { return *fireMacroModel_; }
    FireMacroEditor& fireMacroEditor();  // builds the gun page when it is not built yet

    // Page buttons (every copy of a button shares its handler).
    void Btn_Main_0Click() { pageButtonClick(Page::Office); }
    void Btn_Switch_0Click() { pageButtonClick(Page::Game); }
    void Btn_Fixed_0Click() { pageButtonClick(Page::Third); }
    void Btn_Adv_0Click() { pageButtonClick(Page::Advanced); }
    void Btn_Breath_0Click() { pageButtonClick(Page::Light); }
    void Btn_Macro_0Click() { pageButtonClick(Page::Macro); }
    void Btn_Update_0Click() { pageButtonClick(Page::Update); }
    void Btn_Engineer_0Click() { pageButtonClick(Page::Engineer); }
    void Btn_Save_0Click();
    void Btn_Load_0Click();
    void Btn_LangClick(int language);  // Btn_Lang1_0Click .. Btn_Lang3_0Click; others are ignored
    // The user chose a language (a language button, the tray menu or the window's own menu):
    // applied, and kept in the language file for the next start.
    void chooseLanguage(int language);
    // Where the choice is kept; empty (the default): not kept.
    void setLanguageFile(const QString& path) { languageFile_ = path; }
    // The menus that offer the three languages in every state: the tray icon's and the one a
    // right click on the window's background opens.
    QMenu* trayMenu() const { return trayMenu_; }
    QMenu* windowMenu() const { return windowMenu_; }
    void Btn_ConfirmClick(int image);  // Btn_Confirm1_0Click .. Btn_Confirm3_0Click
    void Btn_Web_0Click();
    void Btn_WebLinkClick();
    void Btn_LoadBINClick();
    void Btn_ProgramClick();
    void Img_Base_1DblClick();

    void RefreshAPPage();
    void RefreshFormMessagDialog(const QString& text);
    void DisableMainButtonControl() { showCovers(true); }
    void EnableMainButtonControl() { showCovers(false); }
    void ButtonTypeB_1IconInit();
    // Opened from the function menu of the profile pages.
    void showFireMacroPage();
    // Hides every open menu: every function-menu panel listens to hideAllMenus().
    void HideAllMenu() { emit hideAllMenus(); }

    // A second start of the program asked for this window.
    void raiseFromSecondStart();

    // The window side of the session's notifications.
    void showCovers(bool shown);
    void showSplash(bool shown);
    void showMessage(const QString& id);
    void showRefusal();
    // The mouse is present but may not be opened: what installs the udev rule.
    void showPermissionDenied(const QString& path);
    // The footer lbl_Connection: the mouse connected (name, VID:PID, memory type), found and
    // being read, plugged in but not openable, or absent with what to do.
    void refreshConnectionFooter();
    QLabel* connectionFooter() const { return connectionFooter_; }
    // An edit asked for without a mouse: false, after the message that there is none.
    bool mayEdit();
    // The splash's text: what a flow that restarts the mouse does and the seconds left of
    // the restart on the session's clock, or that the mouse is being read.
    void refreshSplashText();
    // The engineer page's full default restore (Btn_Default) and LED type change
    // (cb_LEDMode, 1 RGB, 2 Sync, 3 NT), each after the user agreed.
    void Btn_DefaultClick();
    void cb_LEDModeChange(int type);
    void enterNoDevice();
    void deviceGone();
    void refreshFromImage();
    void showMessageText(const QString& text);
    void hideMenus();
    void openMainModePage();
    void showFirstAndModePage();
    void showPatchFilePath(const QString& path);
    // File dialogs: the save dialog appends ".bin" and, when asked, confirms replacing a file.
    std::optional<QString> chooseSaveFile(bool confirmOverwrite);
    std::optional<QString> chooseOpenFile();
    // Caption of key label k (1..12) of a profile (1..3), from the working copy, in the
    // language in effect.
    QString keyCaption(int profile, int key) const;

    const WindowState& state() const { return state_; }
    WindowState& state() { return state_; }
    LoadingSplash* splash() const { return splash_; }
    QSystemTrayIcon* trayIcon() const { return tray_; }
    QSize pageSize() const { return pageSize_; }
    // The engineer page (gbPage7), built and wired when first asked for.
    EngineerPage* engineerPage();
    // Pages 2-5 (gbPage2 .. gbPage5), built and wired when first asked for: opening the page
    // or an action that needs it. A page built late shows what it would have shown had it
    // been built with the window.
    AdvancedPage* advancedPage();
    LightPage* lightPage();
    MacroPage* macroPage();
    UpdatePage* updatePage();

signals:
    void hideAllMenus();

protected:
    void closeEvent(QCloseEvent* event) override;  // FormCloseQuery
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void FormCreate();
    void LoadWindowBackground();
    void applyLayoutPass();
    void wireButtons();
    void wirePageButtons(SkinPage* page);
    void finishPageLayout(SkinPage* page);
    void setStartPictures(const WidgetIndex& index);
    // What every page built after the window needs: its place among the pages, size, page
    // buttons, start pictures and the layout pass in effect.
    void adoptPage(SkinPage* page);
    // The window state a page of pages 2-5 built late takes over: the covers, the pictures
    // of its copy of the page buttons and whether its Engineer button is shown.
    void catchUpPage(SkinPage* page);
    SkinPage* pageOfContainer(int container);  // builds pages 2-6
    void pageButtonClick(Page page);
    void openPage(Page page);  // the page mechanics without the device checks
    void showContainer(int container);
    void sizeFor(Page page);
    void applyWindowShape();
    void markSelected();  // SetS_03 on the page and language in effect; selectors follow
    void setPictureOnCopies(const QString& stem, const QString& picture);
    void loadPanelPicture(Page page);
    void refreshKeyLabels();
    void setEngineerState(bool on);
    // Dragging the window: a press arms it, the move past the drag distance starts it, so a
    // press alone leaves double-clicks to the window.
    void armDrag(QMouseEvent* press);
    bool followDrag(QMouseEvent* event);  // true while the press belongs to a drag
    void endDrag();
    SkinButton* buttonNamed(const QString& name) const;

    void wireSession();
    // The mouse's profile key changed the profile: its page is shown, nothing is written.
    void RefreshCurrentProfileStatus(std::uint8_t modeByte);
    void wireMacroPage();
    void wireFireMacroModel();
    FireMacroPage* firePage();
    void wireMacroPageView();

    SkinPort& skin_;
    MouseSession& session_;
    Desktop& desktop_;
    WindowState state_;
    std::array<SkinPage*, 6> pages_{};  // gbPage1 .. gbPage6
    ButtonModel* buttons_ = nullptr;    // the button assignments of the profile pages
    ProfileModel* profiles_ = nullptr;  // profiles, modes and switches
    ProfilePage* profilePage_ = nullptr;
    AdvancedSetup* advanced_ = nullptr;
    AdvancedPage* advancedPage_ = nullptr;
    MacroPage* macroPage_ = nullptr;
    MacroModel* macroModel_ = nullptr;  // the Macro page's model
    std::unique_ptr<MacroPageRecording> macroRecording_;  // its record buttons (goes before the model)
    FireMacroModel* fireMacroModel_ = nullptr;  // the fire macro editor's model (outlives the page)
    FireMacroEditor* fireMacroEditor_ = nullptr;
    UpdatePage* updatePage_ = nullptr;
    EngineerPage* engineerPage_ = nullptr;
    LightingModel* lighting_ = nullptr;  // the lighting editor on the session's ImageEditor
    LightPage* lightPage_ = nullptr;
    GunModel* gunModel_ = nullptr;  // the gun page's model
    FireMacroPage* fireMacroPage_ = nullptr;
    LoadingSplash* splash_ = nullptr;
    QSystemTrayIcon* tray_ = nullptr;
    QButtonGroup* pageSelectors_ = nullptr;      // rb_1..rb_8
    QButtonGroup* languageSelectors_ = nullptr;  // rb_Lang1..rb_Lang3
    QSize pageSize_{1030, 662};
    QHash<QString, SkinButton*> buttonsByName_;  // the first button of each name
    QBitmap shape_;                               // the window's shape ...
    QString shapePicture_;                        // ... worked out from this background
    bool layoutApplied_ = false;                  // the first layout pass has run
    bool coversShown_ = false;                    // Disable_All_1..5 are shown
    // The picture last put on every copy of a page button, by the button's stem: a page
    // built later puts it on its own copy.
    QHash<QString, QString> copyPictures_;
    QString patchFilePath_;  // lbl_LoadBIN of the update page
    int startLanguage_ = 1;
    bool dragArmed_ = false;
    bool dragging_ = false;  // the window follows the pointer itself
    QPoint pressGlobal_;
    QPoint dragOffset_;
    QSet<QString> deniedPaths_;  // device nodes whose permission message was shown
    QString deniedPath_;         // the node of a present mouse that may not be opened
    bool mouseGone_ = false;     // the mouse went away; it is back once it connects again
    bool hadMouse_ = false;      // a mouse connected and has not gone since
    QLabel* connectionFooter_ = nullptr;
    void placeConnectionFooter();
    // Asks before replacing the mouse's configuration; `detailId` says what is replaced.
    bool askBeforeReplacing(const QString& question, const char* detailId = "Str896");
    // A flow that restarts the mouse: the splash names `task` and counts down from here ...
    void beginRestart(const QString& task);
    // ... until the flow has returned; then `done` when the mouse came back, or what to do.
    void endRestart(const QString& done);
    void buildMenus();
    void applyApplicationTitle();
    void fillMenu(QMenu* menu, bool tray);
    void refreshMenus();
    std::vector<std::pair<QAction*, QString>> menuTexts_;  // actions and their language ids
    std::vector<std::pair<QAction*, int>> languageActions_;
    QString languageFile_;
    QMenu* trayMenu_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QWidget* minimise_ = nullptr;  // Btn_Minimise beside the close picture
    QPoint placeBeforeEngineer_;   // where the window was before the engineer page moved it
    QPoint placeOnEngineer_;
    bool onEngineerSize_ = false;
    QString restartTask_;
    std::int64_t restartDeadlineMs_ = 0;
    QTimer* splashTicker_ = nullptr;
};

}  // namespace nivra::ui
