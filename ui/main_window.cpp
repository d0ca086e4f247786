// The main window: creation, page switching, picture states, covering labels, dragging,
// closing and the window side of the device flows.
#include "ui/main_window.h"

#include "ui/advanced_page.h"
#include "ui/advanced_setup.h"
#include "ui/app_icon.h"
#include "ui/connection_footer.h"
#include "ui/desktop.h"
#include "ui/engineer_page.h"
#include "ui/fire_macro_editor.h"
#include "ui/fire_macro_page.h"
#include "ui/light_page.h"
#include "ui/loading_splash.h"
#include "ui/macro_page.h"
#include "ui/macro_page_recording.h"
#include "ui/recording_sources.h"
#include "ui/profile_page.h"
#include "ui/qt_translations.h"
#include "ui/skin_port.h"
#include "ui/start_language.h"
#include "ui/update_page.h"

#include "device/discovery.h"
#include "image/codes.h"
#include "image/types.h"
#include "files/config_file.h"
#include "image/working_copy.h"
#include "settings/cpi_model.h"
#include "settings/fire_macro_model.h"
#include "settings/gun_model.h"
#include "settings/lighting.h"
#include "settings/button_model.h"
#include "macro/library.h"
#include "settings/macro_model.h"
#include "settings/mouse_session.h"
#include "settings/profile_model.h"
#include "ui/function_menu.h"

#include <QApplication>
#include <QBitmap>
#include <QButtonGroup>
#include <QRadioButton>
#include <QCloseEvent>
#include <QActionGroup>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSet>
#include <QStatusTipEvent>
#include <QSystemTrayIcon>
#include <QWindow>

namespace nivra::ui {

namespace {
QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
const QColor kTransparentColour(128, 0, 0);

std::optional<std::string> chosenPath(const std::optional<QString>& path) {
    if (!path) return std::nullopt;
    return path->toStdString();
}

}  // namespace

MainWindow::MainWindow(SkinPort& skin, MouseSession& session, Desktop& desktop, QWidget* parent, int startLanguage)
    : QWidget(parent, Qt::FramelessWindowHint), skin_(skin), session_(session), desktop_(desktop),
      startLanguage_(startLanguage >= 1 && startLanguage <= 3 ? startLanguage : 1) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QLatin1String(kWindowTitle));
    // Pictures the program did not ask for before are decoded while the pages are built.
    prefetchStartPictures(skin_, startLanguage_);
    // The models are the session's; the window shows them and names keys in its language.
    EditorModels& models = session_.models();
    buttons_ = &models.buttons();
    buttons_->setLanguage([this](std::string_view id) { return skin_.text(qs(id)).toStdString(); });
    profiles_ = &models.profiles();
    profilePage_ = new ProfilePage(skin_, *buttons_, *profiles_, this);
    profilePage_->onHideAllMenu = [this] { HideAllMenu(); };
    profilePage_->onMessage = [this](const QString& id) { showMessage(id); };
    profilePage_->onFireMacroPage = [this] { showFireMacroPage(); };
    profilePage_->mayEdit = [this] { return mayEdit(); };
    connect(this, &MainWindow::hideAllMenus, profilePage_->menu(), &FunctionMenu::HideAllMenu);
    pages_[0] = profilePage_;
    advanced_ = new AdvancedSetup(session_, this);
    lighting_ = &models.lighting();
    // Pages 2-6 are built when first opened or needed (advancedPage() .. updatePage(),
    // firePage()); their models are there from the start.
    gunModel_ = &models.gun();
    // The gun page and its fire macro editor are built when the page is first opened
    // (firePage()).
    // Confirm and Cancel of the gun page return to the main page.
    connect(gunModel_, &GunModel::closed, this, [this] {
        HideAllMenu();
        showContainer(1);
    });
    // The engineer page is built when it is first needed (engineerPage()).
    splash_ = new LoadingSplash;
    // While the splash is up its text follows the session's clock (the waits of a restart let
    // the window run, so the timer fires during them).
    splashTicker_ = new QTimer(this);
    splashTicker_->setInterval(250);
    connect(splashTicker_, &QTimer::timeout, this, &MainWindow::refreshSplashText);
    advanced_->beforeRestart = [this] {
        beginRestart(skin_.text(QStringLiteral("Str889")));
        showSplash(true);
    };
    advanced_->afterRestart = [this] { endRestart({}); };
    tray_ = new QSystemTrayIcon(this);
    tray_->setObjectName(QStringLiteral("TrayIcon1"));
    // Above the pages, left of the Confirm buttons; a press on it moves the window as on the
    // background.
    connectionFooter_ = new QLabel(this);
    connectionFooter_->setObjectName(QStringLiteral("lbl_Connection"));
    connectionFooter_->setWordWrap(true);
    connectionFooter_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connectionFooter_->setTextFormat(Qt::RichText);
    connectionFooter_->installEventFilter(this);
    // The minimise control beside the close picture, drawn in the close picture's manner.
    auto* minimise = new QPushButton(QString(QChar(0x2013)), this);
    minimise->setObjectName(QStringLiteral("Btn_Minimise"));
    minimise->setFocusPolicy(Qt::NoFocus);
    minimise->setCursor(Qt::PointingHandCursor);
    minimise->setStyleSheet(QStringLiteral(
        "QPushButton { color: rgb(206, 214, 226); background: rgba(18, 22, 28, 220); border: 1px solid rgb(74, 84, 100);"
        " border-radius: 8px; font-weight: bold; padding: 0 0 2px 0; }"
        "QPushButton:hover { color: white; border-color: rgb(0, 200, 255); }"
        "QPushButton:pressed { background: rgb(0, 120, 170); }"));
    connect(minimise, &QPushButton::clicked, this, [this] { showMinimized(); });
    minimise_ = minimise;
    QPalette footerPalette = connectionFooter_->palette();
    footerPalette.setColor(QPalette::WindowText, QColor(214, 220, 230));
    connectionFooter_->setPalette(footerPalette);
    // The page and language selectors hold the state; they are never shown.
    pageSelectors_ = new QButtonGroup(this);
    for (int n = 1; n <= 8; ++n) {
        auto* rb = new QRadioButton(this);
        rb->setObjectName(QString::fromStdString(selectorName(static_cast<Page>(n))));
        rb->hide();
        pageSelectors_->addButton(rb, n);
    }
    languageSelectors_ = new QButtonGroup(this);
    for (int n = 1; n <= 3; ++n) {
        auto* rb = new QRadioButton(this);
        rb->setObjectName(QStringLiteral("rb_Lang%1").arg(n));
        rb->hide();
        languageSelectors_->addButton(rb, n);
    }
    buildMenus();
    wireSession();
    wireMacroPage();
    wireButtons();
    wireFireMacroModel();
    FormCreate();
}

MainWindow::~MainWindow() { delete splash_; }

// The start page's background (and with it the window's shape) and panel.
void MainWindow::prefetchStartPictures(SkinPort& skin, int startLanguage) {
    const QString background = QStringLiteral("L%1_BackGround").arg(startLanguage);
    skin.prefetchPictures({background, QStringLiteral("L%1_Back1").arg(startLanguage)}, background,
                          kTransparentColour.rgb());
}

// The Macro page's model on the session's editor, the PC macro library in the folder of the
// layout key "Path" (or the program's data folder), loaded at start.
void MainWindow::wireMacroPage() {
    macroModel_ = &session_.models().macros();
    // The page shows the model's messages once it is built; until then the window does (a
    // library that cannot be read at start).
    connect(macroModel_, &MacroModel::message, this, [this](const QString& id) {
        if (!macroPage_) showMessage(id);
    });
    connect(macroModel_, &MacroModel::messageText, this, [this](const QString& text) {
        if (!macroPage_) desktop_.plainMessage(this, text);
    });
    // A damaged or foreign library was refused (the model said why) and is left as it is;
    // the user chooses whether the default library replaces it.
    if (!macroModel_->CheckPCMacro() && macroModel_->libraryDamaged() &&
        desktop_.confirmOverwrite(this, QString::fromStdString(macroModel_->library().file().string())))
        macroModel_->replaceLibraryWithDefault();
}

// The Macro page's callbacks, its model and its record buttons.
void MainWindow::wireMacroPageView() {
    macroPage_->showMessage = [this](const QString& id) { showMessage(id); };
    // "Macro Content Error" and file errors: a plain message box with an empty caption.
    macroPage_->showMessageText = [this](const QString& text) { desktop_.plainMessage(this, text); };
    macroPage_->chooseOpenFile = [this] { return chooseOpenFile(); };
    // The page appends ".bin" to the name chosen for a macro export.
    macroPage_->chooseSaveFile = [this] { return desktop_.saveFile(this, QLatin1String(kSaveFilter)); };
    macroPage_->attach(*macroModel_);
    // Recording stops the session's presence poll while it runs.
    macroRecording_ = std::make_unique<MacroPageRecording>(*macroPage_, *macroModel_, session_.transfer().discovery(),
                                                           steadyMilliseconds, makeRecordingInputSource());
    connect(&session_, &MouseSession::pcMacroListRebuildRequested, macroPage_, [this] { macroPage_->refresh(); });
}

MacroPageRecording& MainWindow::macroRecording() {
    macroPage();
    return *macroRecording_;
}

// The fire macro editor's model; the reveal flag and its double-click count are the window's.
void MainWindow::wireFireMacroModel() {
    fireMacroModel_ = &session_.models().fireMacros();
    fireMacroModel_->attachReveal(&state_.reveal, &state_.doubleClicks);
    // Confirm and Cancel of the gun page hide the editor's controls (and end a recording).
    connect(gunModel_, &GunModel::closed, fireMacroModel_, &FireMacroModel::hideEditor);
}

// The gun page (gbPage6), built when it is first opened, skinned by the layout pass in
// effect as the pages built at start were. Its fire macro editor is built once the page is
// skinned (so the editor's filter on Img_Base_6 sees double-clicks before the window's).
// The editor's import is the engineer page's Btn_ImportGunMacro (wired in engineerPage()).
FireMacroPage* MainWindow::firePage() {
    if (fireMacroPage_) return fireMacroPage_;
    fireMacroPage_ = new FireMacroPage(skin_, this);
    fireMacroPage_->attach(*gunModel_);
    adoptPage(fireMacroPage_);
    fireMacroEditor_ = new FireMacroEditor(fireMacroPage_, skin_, *fireMacroModel_, session_.transfer().discovery(),
                                           steadyMilliseconds, makeRecordingInputSource());
    fireMacroEditor_->showMessage = [this](const QString& id) { showMessage(id); };
    fireMacroEditor_->showMessageText = [this](const QString& text) { desktop_.plainMessage(this, text); };
    fireMacroEditor_->askPassword = [this] { return desktop_.password(this, skin_.fontName()); };
    fireMacroEditor_->chooseOpenFile = [this] { return chooseOpenFile(); };
    return fireMacroPage_;
}

FireMacroEditor& MainWindow::fireMacroEditor() {
    firePage();
    return *fireMacroEditor_;
}

AdvancedPage* MainWindow::advancedPage() {
    if (advancedPage_) return advancedPage_;
    advancedPage_ = new AdvancedPage(skin_, this, advanced_->models());
    adoptPage(advancedPage_);
    if (layoutApplied_) advancedPage_->refresh();
    catchUpPage(advancedPage_);
    return advancedPage_;
}

LightPage* MainWindow::lightPage() {
    if (lightPage_) return lightPage_;
    lightPage_ = new LightPage(skin_, this);
    lightPage_->attach(*lighting_);
    adoptPage(lightPage_);
    if (layoutApplied_) lightPage_->applyLanguage(state_.language);
    catchUpPage(lightPage_);
    return lightPage_;
}

MacroPage* MainWindow::macroPage() {
    if (macroPage_) return macroPage_;
    macroPage_ = new MacroPage(skin_, this);
    wireMacroPageView();
    // Every language button hides the delay group until the page is next opened.
    if (layoutApplied_) macroPage_->findChild<QWidget*>(QStringLiteral("Gb_Delay"))->hide();
    adoptPage(macroPage_);
    catchUpPage(macroPage_);
    return macroPage_;
}

UpdatePage* MainWindow::updatePage() {
    if (updatePage_) return updatePage_;
    updatePage_ = new UpdatePage(skin_, this);
    updatePage_->loadBin()->onClick = [this] { Btn_LoadBINClick(); };
    updatePage_->program()->onClick = [this] { Btn_ProgramClick(); };
    updatePage_->webLink()->onClick = [this] { Btn_WebLinkClick(); };
    if (!patchFilePath_.isEmpty()) updatePage_->loadedPath()->setText(patchFilePath_);
    adoptPage(updatePage_);
    catchUpPage(updatePage_);
    return updatePage_;
}

SkinPage* MainWindow::pageOfContainer(int container) {
    switch (container) {
        case 1: return pages_[0];
        case 2: return advancedPage();
        case 3: return lightPage();
        case 4: return macroPage();
        case 5: return updatePage();
        case 6: return firePage();
        default: return nullptr;
    }
}

// A page built after the window: hidden, in its place among the pages, sized, its page
// buttons wired, its start pictures and the layout pass in effect (when one ran) applied.
void MainWindow::adoptPage(SkinPage* page) {
    page->hide();
    const auto slot = static_cast<std::size_t>(page->number() - 1);
    pages_[slot] = page;
    // Pages 2-5 lie under the pages with higher numbers and the engineer page, in the
    // order they would have had if built with the window.
    if (page->number() <= kPageCopies) {
        QSet<QObject*> above;
        for (std::size_t s = slot + 1; s < pages_.size(); ++s)
            if (pages_[s]) above.insert(pages_[s]);
        if (engineerPage_) above.insert(engineerPage_);
        for (QObject* child : children())
            if (above.contains(child)) {
                page->stackUnder(static_cast<QWidget*>(child));
                break;
            }
    }
    page->resizeToWindow(pageSize_);
    wirePageButtons(page);
    const WidgetIndex index(page);
    setStartPictures(index);
    if (!layoutApplied_) return;
    applyLayout(index, skin_.layout(), skin_);
    finishPageLayout(page);
    for (QWidget* w : index.all())
        if (auto* cover = qobject_cast<CoverLabel*>(w)) cover->installEventFilter(this);
}

void MainWindow::catchUpPage(SkinPage* page) {
    const int n = page->number();
    for (auto it = copyPictures_.cbegin(); it != copyPictures_.cend(); ++it)
        if (SkinButton* b = buttonNamed(QStringLiteral("Btn_%1_%2").arg(it.key()).arg(n))) b->setPicture(it.value());
    if (layoutApplied_)
        if (SkinButton* b = buttonNamed(QStringLiteral("Btn_Engineer_%1").arg(n))) b->setVisible(state_.engineerShown);
    if (CoverLabel* cover = page->cover()) {
        cover->setVisible(coversShown_);
        if (coversShown_) cover->raiseAbove();
    }
}

void MainWindow::wireSession() {
    MouseSession* s = &session_;
    connect(s, &MouseSession::covers, this, &MainWindow::showCovers);
    connect(s, &MouseSession::splash, this, &MainWindow::showSplash);
    connect(s, &MouseSession::message, this, &MainWindow::showMessage);
    connect(s, &MouseSession::messageText, this, &MainWindow::showMessageText);
    connect(s, &MouseSession::backupFailed, this, [this](const QString& detail) {
        desktop_.plainMessage(this, skin_.text(QStringLiteral("Str840")).arg(detail));
    });
    connect(s, &MouseSession::refused, this, &MainWindow::showRefusal);
    // The footer follows every change of the connection, before any message box about it
    // waits for the user: a refused node is remembered until the mouse connects or its
    // interfaces go away.
    connect(s, &MouseSession::permissionDenied, this, [this](const QString& path) {
        deniedPath_ = path;
        refreshConnectionFooter();
    });
    connect(s, &MouseSession::permissionDenied, this, &MainWindow::showPermissionDenied);
    connect(s, &MouseSession::connected, this, [this] {
        deniedPaths_.clear();
        deniedPath_.clear();
        mouseGone_ = false;
        hadMouse_ = true;
        refreshConnectionFooter();
    });
    // The device-gone handling tells the window before it closes the mouse's handles.
    connect(s, &MouseSession::gone, this, [this] {
        deniedPath_.clear();
        mouseGone_ = true;
        refreshConnectionFooter();
    });
    connect(s, &MouseSession::noDeviceEntered, this, &MainWindow::refreshConnectionFooter);
    connect(s, &MouseSession::imageReplaced, this, &MainWindow::refreshConnectionFooter);
    connect(s, &MouseSession::busyChanged, this, &MainWindow::refreshConnectionFooter);
    connect(s, &MouseSession::noDeviceEntered, this, &MainWindow::enterNoDevice);
    connect(s, &MouseSession::gone, this, &MainWindow::deviceGone);
    connect(s, &MouseSession::imageReplaced, this, &MainWindow::refreshFromImage);
    connect(s, &MouseSession::hideMenusRequested, this, &MainWindow::hideMenus);
    connect(s, &MouseSession::mainModePageRequested, this, &MainWindow::openMainModePage);
    connect(s, &MouseSession::firstAndModePageRequested, this, &MainWindow::showFirstAndModePage);
    connect(s, &MouseSession::patchFilePathChanged, this, &MainWindow::showPatchFilePath);
    connect(&advanced_->cpi(), &CpiModel::message, this, &MainWindow::showMessage);
    connect(&advanced_->cpi(), &CpiModel::plainMessage, this, &MainWindow::showMessageText);
    connect(s, &MouseSession::modeByteRead, this, &MainWindow::RefreshCurrentProfileStatus);
}

void MainWindow::RefreshCurrentProfileStatus(std::uint8_t modeByte) {
    if (session_.noDevice() || session_.busy()) return;
    profiles_->RefreshCurrentProfileStatus(modeByte);
    if ((modeByte & 0x0F) <= 2) openPage(static_cast<Page>(profiles_->profileShown()));
}

QString MainWindow::keyCaption(int profile, int key) const {
    if (profile < 1 || profile > 3 || key < 1 || key > 12) return {};
    return QString::fromStdString(buttons_->name(profile, key).text);
}

void MainWindow::FormCreate() {
    showCovers(true);
    tray_->setIcon(appIcon());
    setWindowIcon(appIcon());
    tray_->show();

    state_ = WindowState{};

    LoadWindowBackground();
    for (SkinPage* p : pages_)
        if (p) p->resizeToWindow(pageSize_);
    resize(pageSize_);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.left() + centredOffset(s.width(), width()), s.top() + centredOffset(s.height(), height()));
    }

    QPalette pal = palette();
    pal.setColor(QPalette::Window, kTransparentColour);
    setPalette(pal);
    setAutoFillBackground(true);

    session_.invalidateHandles();

    showCovers(true);
    setStartPictures(WidgetIndex(this));
    // The layout pass of the start language runs once, from the press of its button below.
    state_.language = startLanguage_;

    session_.enterNoDevice();
    applyApplicationTitle();
    showContainer(1);
    Btn_LangClick(startLanguage_);
    session_.start();
}

void MainWindow::LoadWindowBackground() {
    QLabel* base = pages_[0]->background();
    setSkinPicture(base, skin_, QStringLiteral("L1_BackGround"));
    const QSize size = skin_.pictureSize(QStringLiteral("L1_BackGround"));
    if (size.isValid() && !size.isEmpty()) pageSize_ = size;
}

void MainWindow::applyLayoutPass() {
    std::array<QString, 12> keyCaptions;
    for (int k = 1; k <= 12; ++k) keyCaptions[static_cast<std::size_t>(k - 1)] = profilePage_->key(k)->label()->text();
    const QString error = skin_.applyLanguage(state_.language, state_.page,
                                              keyCaptions);
    if (!error.isEmpty()) qWarning("nivra: layout pass stopped: %s", qPrintable(error));
    const WidgetIndex index(this);
    applyLayout(index, skin_.layout(), skin_);
    for (SkinPage* p : pages_)
        if (p) finishPageLayout(p);
    for (QWidget* w : index.all()) {
        if (auto* cover = qobject_cast<CoverLabel*>(w)) cover->installEventFilter(this);
        // Pictures out of view are let go; they come back when their control is shown.
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->isVisible() && !label->pixmap().isNull()) {
            const QString picture = skinPictureOf(label);
            if (!picture.isEmpty()) setSkinPicture(label, skin_, picture);
        }
    }
    // The Advanced page's texts and pictures in the language in effect.
    if (advancedPage_) advancedPage_->refresh();
    // The Engineer buttons are shown only in the engineer state.
    for (int n = 1; n <= kPageCopies; ++n)
        if (SkinButton* b = buttonNamed(QStringLiteral("Btn_Engineer_%1").arg(n))) b->setVisible(state_.engineerShown);
    const QString font = skin_.fontName();
    if (!font.isEmpty()) {
        QFont f = splash_->font();
        f.setFamily(font);
        splash_->setFont(f);
        QFont footer = connectionFooter_->font();
        footer.setFamily(font);
        connectionFooter_->setFont(footer);
    }
    layoutApplied_ = true;
    refreshConnectionFooter();
    if (state_.page != Page::Engineer) applyWindowShape();
    markSelected();
    refreshKeyLabels();
    if (lightPage_) lightPage_->applyLanguage(state_.language);
}

void MainWindow::setStartPictures(const WidgetIndex& index) {
    for (const auto& [name, pictureName] : skin_.startPictures())
        for (QWidget* w : index.named(name))
            if (auto* l = qobject_cast<QLabel*>(w)) setSkinPicture(l, skin_, pictureName);
}

// A label lies over its picture unless the pass gave it a rectangle of its own.
void MainWindow::finishPageLayout(SkinPage* page) {
    for (SkinButton* b : page->buttons()) {
        const auto it = skin_.layout().find(b->name());
        if (it == skin_.layout().end() || !it->second.width) b->layLabelOverPicture();
        b->label()->setVisible(b->picture()->isVisibleTo(page));
    }
    page->finishLayout();
    // The gun edits keep the hue of the layout's text colour, lightened where it would be
    // hard to read on their background (dark green on black).
    if (page->number() == 6) {
        for (QLineEdit* edit : page->findChildren<QLineEdit*>()) {
            QPalette pal = edit->palette();
            const QColor text = pal.color(QPalette::Text);
            const QColor back = pal.color(QPalette::Base);
            if (std::abs(text.lightness() - back.lightness()) >= 110) continue;
            const QColor readable = QColor::fromHsv(text.hsvHue(), text.hsvSaturation(), 230);
            pal.setColor(QPalette::Text, readable);
            edit->setPalette(pal);
        }
    }
}

SkinButton* MainWindow::buttonNamed(const QString& name) const { return buttonsByName_.value(name); }

void MainWindow::wireButtons() {
    for (SkinPage* p : pages_)
        if (p) wirePageButtons(p);
}

void MainWindow::wirePageButtons(SkinPage* p) {
    for (SkinButton* b : p->buttons()) {
        const QString name = b->name();
        if (!buttonsByName_.contains(name)) buttonsByName_.insert(name, b);
        const ButtonKind kind = b->kind();
        if (kind == ButtonKind::B || kind == ButtonKind::D) b->onLeave = [this] { markSelected(); };
        for (const PageButton& pb : kPageButtons) {
            if (!name.startsWith(QStringLiteral("Btn_%1_").arg(qs(pb.stem)))) continue;
            if (pb.opens) b->onClick = [this, page = *pb.opens] { pageButtonClick(page); };
            else if (pb.stem == "Save") b->onClick = [this] { Btn_Save_0Click(); };
            else b->onClick = [this] { Btn_Load_0Click(); };
        }
        for (int n = 1; n <= 3; ++n) {
            if (name.startsWith(QStringLiteral("Btn_Lang%1_").arg(n))) b->onClick = [this, n] { chooseLanguage(n); };
            if (name.startsWith(QStringLiteral("Btn_Confirm%1_").arg(n))) b->onClick = [this, n] { Btn_ConfirmClick(n); };
        }
        if (name.startsWith(QLatin1String("Btn_Exit"))) b->onClick = [this] { close(); };
        if (name.startsWith(QLatin1String("Btn_Web_"))) b->onClick = [this] { Btn_Web_0Click(); };
    }
    p->background()->installEventFilter(this);
}

EngineerPage* MainWindow::engineerPage() {
    if (engineerPage_) return engineerPage_;
    engineerPage_ = new EngineerPage(this);
    engineerPage_->hide();
    engineerPage_->resize(kEngineerWidth, kEngineerHeight);
    engineerPage_->applyCaptions([this](int row) { return skin_.engineerCaption(row); }, skin_.engineerFont());
    engineerPage_->setEngineerState(state_.engineerShown);
    const std::array<std::pair<const char*, Page>, 8> engineerCopies{{
        {"Btn_Main_6", Page::Office},  {"Btn_Switch_6", Page::Game},   {"Btn_Fixed_6", Page::Third},
        {"Btn_Adv_6", Page::Advanced}, {"Btn_Breath_6", Page::Light},  {"Btn_Macro_6", Page::Macro},
        {"Btn_Update_6", Page::Update}, {"Btn_Engineer_6", Page::Engineer},
    }};
    for (const auto& [name, page] : engineerCopies)
        connect(engineerPage_->button(QLatin1String(name)), &QPushButton::clicked, this,
                [this, page = page] { pageButtonClick(page); });
    connect(engineerPage_->button(QStringLiteral("Btn_Save_6")), &QPushButton::clicked, this, [this] { Btn_Save_0Click(); });
    connect(engineerPage_->button(QStringLiteral("Btn_Load_6")), &QPushButton::clicked, this, [this] { Btn_Load_0Click(); });
    connect(engineerPage_->button(QStringLiteral("Btn_Close")), &QPushButton::clicked, this, [this] { close(); });
    connect(engineerPage_->button(QStringLiteral("Btn_Default")), &QPushButton::clicked, this, [this] { Btn_DefaultClick(); });
    // The LED type choice shows the type in effect; a change asked for and refused (or
    // cancelled) goes back to it.
    auto* ledType = engineerPage_->findChild<QComboBox*>(QStringLiteral("cb_LEDMode"));
    const auto showLedType = [this, ledType] {
        const auto type = static_cast<int>(lighting_->type());
        if (type >= 1 && type <= 3) ledType->setCurrentIndex(type - 1);
    };
    connect(ledType, &QComboBox::activated, this, [this, showLedType](int index) {
        cb_LEDModeChange(index + 1);
        showLedType();
    });
    connect(lighting_, &LightingModel::changed, ledType, showLedType);
    showLedType();
    engineerPage_->attachGunOffsets(*gunModel_);
    // The imports of the engineer state: device macros (Macro page) and fire macros.
    connect(engineerPage_->button(QStringLiteral("Btn_ImportBaseMacro")), &QPushButton::clicked, this, [this] {
        HideAllMenu();
        macroPage()->Btn_ImportBaseMacroClick();
    });
    connect(engineerPage_->button(QStringLiteral("Btn_ImportGunMacro")), &QPushButton::clicked, this, [this] {
        HideAllMenu();
        fireMacroEditor().Btn_ImportGunMacroClick();
    });
    // The engineer page's own background, its logo and its tabs move the window too.
    for (QWidget* w : {static_cast<QWidget*>(engineerPage_), static_cast<QWidget*>(engineerPage_->logo()),
                       static_cast<QWidget*>(engineerPage_->tabs())})
        w->installEventFilter(this);
    return engineerPage_;
}

void MainWindow::pageButtonClick(Page page) {
    if (!session_.mouseOpen()) {
        RefreshFormMessagDialog(skin_.text(QStringLiteral("Str022")));
        return;
    }
    if (session_.noDevice()) return;
    if (isProfilePage(page) && (session_.busy() || !session_.acceptsClicks())) return;
    // A mode button makes its profile the one in effect on the mouse.
    if (isProfilePage(page)) profiles_->showProfile(static_cast<int>(page));
    openPage(page);
}

void MainWindow::openPage(Page page) {
    const bool covered = page != Page::Engineer;
    if (covered) showCovers(true);
    HideAllMenu();
    ButtonTypeB_1IconInit();
    state_.page = page;
    showContainer(containerOf(page));
    sizeFor(page);
    switch (page) {
        case Page::Office:
        case Page::Game:
        case Page::Third: {
            // The page state: the labels, the menu's entries and the toggles follow it (toggle
            // 8 belongs to Game Mode with the gun display on).
            buttons_->setProfileShown(static_cast<int>(page));
            profilePage_->RefreshComboKeys();
            refreshKeyLabels();
            break;
        }
        case Page::Macro: macroPage()->showInsertPanel(state_.insertFlag); break;
        case Page::Update:
            updatePage()->loadedPath()->clear();
            patchFilePath_.clear();
            session_.openUpdatePage();
            break;
        case Page::Engineer: state_.fireKeyGuard = true; break;
        default: break;
    }
    markSelected();
    loadPanelPicture(page);
    if (page == Page::Engineer) state_.fireKeyGuard = false;
    if (covered) showCovers(false);
}

void MainWindow::showContainer(int container) {
    pageOfContainer(container);
    for (SkinPage* p : pages_)
        if (p) p->setVisible(p->number() == container);
    if (container == 7) engineerPage()->show();
    else if (engineerPage_) engineerPage_->hide();
    placeConnectionFooter();
}

void MainWindow::sizeFor(Page page) {
    if (page == Page::Engineer) {
        if (!onEngineerSize_) placeBeforeEngineer_ = pos();
        onEngineerSize_ = true;
        clearMask();
        resize(kEngineerWidth, kEngineerHeight);
        // The larger page stays on the screen where the window is.
        if (const QScreen* s = screen()) {
            const QRect avail = s->availableGeometry();
            move(qMax(avail.left(), qMin(x(), avail.right() + 1 - width())),
                 qMax(avail.top(), qMin(y(), avail.bottom() + 1 - height())));
        }
        placeOnEngineer_ = pos();
        return;
    }
    resize(pageSize_);
    // The window goes back to where it was unless it was dragged on the engineer page.
    if (onEngineerSize_ && pos() == placeOnEngineer_) move(placeBeforeEngineer_);
    onEngineerSize_ = false;
    applyWindowShape();
}

void MainWindow::applyWindowShape() {
    // The window takes the shape of its background picture less the transparent colour. The
    // shape is worked out once per background picture. Before the first layout pass the
    // background is not the language's yet: the pass shapes the window when it ends.
    if (!layoutApplied_) return;
    const QString picture = skinPictureOf(pages_[0]->background());
    if (picture != shapePicture_) {
        const QImage shape = skin_.pictureShape(picture, kTransparentColour.rgb());
        if (shape.isNull()) return;
        shape_ = QBitmap::fromImage(shape);
        shapePicture_ = picture;
    }
    setMask(shape_);
}

void MainWindow::ButtonTypeB_1IconInit() {
    for (const PageButton& b : kPageButtons) setPictureOnCopies(qs(b.stem), QStringLiteral("SetS_01"));
}

void MainWindow::setPictureOnCopies(const QString& stem, const QString& picture) {
    copyPictures_.insert(stem, picture);
    for (int n = 1; n <= kPageCopies; ++n)
        if (SkinButton* b = buttonNamed(QStringLiteral("Btn_%1_%2").arg(stem).arg(n))) b->setPicture(picture);
}

void MainWindow::markSelected() {
    pageSelectors_->button(static_cast<int>(state_.page))->setChecked(true);
    languageSelectors_->button(state_.language)->setChecked(true);
    setPictureOnCopies(qs(stemOf(state_.page)), QStringLiteral("SetS_03"));
    for (int lang = 1; lang <= 3; ++lang)
        setPictureOnCopies(QStringLiteral("Lang%1").arg(lang), qs(restingPicture(lang == state_.language)));
}

void MainWindow::loadPanelPicture(Page page) {
    const int container = containerOf(page);
    if (container > 4) return;  // the update page keeps "Update"; the engineer page has none
    if (QLabel* panel = pageOfContainer(container)->panel())
        setSkinPicture(panel, skin_, QStringLiteral("L%1_Back%2").arg(state_.language).arg(container));
}

void MainWindow::refreshKeyLabels() {
    // A function without a name leaves its label empty rather than showing the name of
    // whatever the label showed before.
    profilePage_->RefreshProfileKeys();
    profilePage_->RefreshComboKeys();
}

void MainWindow::RefreshAPPage() {
    const bool fireShown = fireMacroPage_ && fireMacroPage_->isVisible();
    if (session_.noDevice()) {
        showContainer(1);
    } else {
        showContainer(state_.page == Page::Engineer ? 0 : containerOf(state_.page));
        if (state_.page == Page::Macro) macroPage()->showInsertPanel(state_.insertFlag);
    }
    if (engineerPage_) engineerPage_->hide();
    if (fireMacroPage_) fireMacroPage_->setVisible(fireShown);
    placeConnectionFooter();
}

void MainWindow::Btn_LangClick(int language) {
    if (language < 1 || language > 3) return;  // there are three language tables
    pages_[0]->cover()->show();
    for (int lang = 1; lang <= 3; ++lang)
        setPictureOnCopies(QStringLiteral("Lang%1").arg(lang), qs(restingPicture(lang == language)));
    if (macroPage_) macroPage_->findChild<QWidget*>(QStringLiteral("Gb_Delay"))->hide();
    const bool changed = language != state_.language;
    state_.language = language;
    useQtTranslations(language);
    applyLayoutPass();
    // The pictures of the language left that no control in view shows are let go.
    if (changed) skin_.releaseUnusedPictures();
    QCoreApplication::processEvents();
    applyApplicationTitle();
    RefreshAPPage();
    refreshMenus();
    pages_[0]->cover()->hide();
}

void MainWindow::chooseLanguage(int language) {
    if (language < 1 || language > 3) return;
    Btn_LangClick(language);
    if (!languageFile_.isEmpty() && !saveLanguage(languageFile_, language))
        qWarning("nivra: could not keep the language in %s", qPrintable(languageFile_));
}

void MainWindow::buildMenus() {
    trayMenu_ = new QMenu(this);
    trayMenu_->setObjectName(QStringLiteral("TrayMenu"));
    windowMenu_ = new QMenu(this);
    windowMenu_->setObjectName(QStringLiteral("WindowMenu"));
    fillMenu(trayMenu_, true);
    fillMenu(windowMenu_, false);
    tray_->setContextMenu(trayMenu_);
    refreshMenus();
}

// The actions are made once; refreshMenus() gives them the texts of the language in effect.
void MainWindow::fillMenu(QMenu* menu, bool tray) {
    const auto add = [&](const char* id, const char* name, auto slot) {
        QAction* a = menu->addAction(QString());
        a->setObjectName(QLatin1String(name));
        menuTexts_.emplace_back(a, QLatin1String(id));
        connect(a, &QAction::triggered, this, slot);
    };
    if (tray) {
        add("Str904", "act_Show", [this] { raiseFromSecondStart(); });
        menu->addSeparator();
    }
    menuTexts_.emplace_back(menu->addSection(QString()), QStringLiteral("Str903"));
    auto* group = new QActionGroup(menu);
    for (int n = 1; n <= 3; ++n) {
        QAction* a = menu->addAction(QString());
        a->setObjectName(QStringLiteral("act_Lang%1").arg(n));
        a->setCheckable(true);
        group->addAction(a);
        // The names of the languages are the same in every table, each in its own script.
        menuTexts_.emplace_back(a, QStringLiteral("Str%1").arg(909 + n));
        languageActions_.emplace_back(a, n);
        connect(a, &QAction::triggered, this, [this, n] { chooseLanguage(n); });
    }
    menu->addSeparator();
    if (!tray) add("Str906", "act_Minimise", [this] { showMinimized(); });
    add("Str905", "act_Quit", [this] { close(); });
}

void MainWindow::refreshMenus() {
    QFont font = trayMenu_->font();
    if (!skin_.fontName().isEmpty()) font.setFamily(skin_.fontName());
    for (QMenu* menu : {trayMenu_, windowMenu_}) menu->setFont(font);
    for (const auto& [action, id] : menuTexts_) action->setText(skin_.text(id));
    for (const auto& [action, language] : languageActions_) action->setChecked(language == state_.language);
    if (minimise_) minimise_->setToolTip(skin_.text(QStringLiteral("Str906")));
}

void MainWindow::Btn_ConfirmClick(int image) {
    setPictureOnCopies(QStringLiteral("Confirm%1").arg(image), QStringLiteral("BtnS_03"));
    if (!session_.mouseOpen()) {
        RefreshFormMessagDialog(skin_.text(QStringLiteral("Str022")));
        return;
    }
    HideAllMenu();
    // A click handled while another flow runs starts nothing, and asks nothing either.
    if (!session_.acceptsClicks()) return;
    if (!askBeforeReplacing(skin_.text(QStringLiteral("Str892")).arg(image))) return;
    beginRestart(skin_.text(QStringLiteral("Str887")).arg(image));
    session_.restoreBuiltin(image);
    endRestart(skin_.text(QStringLiteral("Str898")).arg(image));
}

void MainWindow::Btn_DefaultClick() {
    HideAllMenu();
    if (!session_.mouseOpen()) {
        RefreshFormMessagDialog(skin_.text(QStringLiteral("Str022")));
        return;
    }
    if (!session_.acceptsClicks() || !askBeforeReplacing(skin_.text(QStringLiteral("Str895")))) return;
    beginRestart(skin_.text(QStringLiteral("Str890")));
    session_.restoreDefaults();
    endRestart(skin_.text(QStringLiteral("Str900")));
}

void MainWindow::cb_LEDModeChange(int type) {
    if (type < 1 || type > 3) return;
    const auto led = static_cast<LedType>(type);
    if (led == lighting_->type()) return;
    if (!session_.mouseOpen()) {
        RefreshFormMessagDialog(skin_.text(QStringLiteral("Str022")));
        return;
    }
    const QString name = qs(ledTypeName(led));
    if (!session_.acceptsClicks() || !askBeforeReplacing(skin_.text(QStringLiteral("Str894")).arg(name), "Str897"))
        return;
    beginRestart(skin_.text(QStringLiteral("Str891")));
    lighting_->cb_LEDModeChange(led);
    endRestart(skin_.text(QStringLiteral("Str901")).arg(name));
}

bool MainWindow::askBeforeReplacing(const QString& question, const char* detailId) {
    return desktop_.confirm(this, question, skin_.text(QLatin1String(detailId)), skin_.fontName());
}

void MainWindow::beginRestart(const QString& task) {
    restartTask_ = task;
    // The restart's waits, in whole seconds as the countdown shows them (17 s).
    constexpr auto restart = std::chrono::floor<std::chrono::seconds>(Transfer::kBeforeRestart + Transfer::kAfterRestart1 +
                                                                      Transfer::kAfterRestart2);
    restartDeadlineMs_ = (session_.clock().now() + restart).count();
    if (splash_->isVisible()) refreshSplashText();
    refreshConnectionFooter();
}

void MainWindow::endRestart(const QString& done) {
    restartTask_.clear();
    if (splash_->isVisible()) refreshSplashText();
    refreshConnectionFooter();
    if (done.isEmpty()) return;
    RefreshFormMessagDialog(session_.mouseOpen() && !session_.noDevice() ? done
                                                                          : skin_.text(QStringLiteral("Str902")));
}

void MainWindow::refreshSplashText() {
    const QString reading = skin_.text(QStringLiteral("Str886"));
    if (restartTask_.isEmpty()) {
        splash_->setText(reading, {});
        return;
    }
    const std::int64_t left = restartDeadlineMs_ - session_.clock().now().count();
    const std::int64_t seconds = (left + 999) / 1000;
    splash_->setText(restartTask_, seconds > 0 ? skin_.text(QStringLiteral("Str885")).arg(seconds) : reading);
}

void MainWindow::Btn_Web_0Click() {
    setPictureOnCopies(QStringLiteral("Web"), QStringLiteral("WebS_02"));
    const GlobalLayout global = skin_.globalLayout();
    if (global.webEnabled && !global.web.isEmpty()) desktop_.openUrl(global.web);
}

void MainWindow::Btn_WebLinkClick() {
    const QString web = skin_.globalLayout().web;
    if (!web.isEmpty()) desktop_.openUrl(web);
}

void MainWindow::Btn_Save_0Click() {
    HideAllMenu();
    session_.saveProfile([this] { return chosenPath(chooseSaveFile(/*confirmOverwrite=*/true)); });
}

void MainWindow::Btn_Load_0Click() {
    HideAllMenu();
    QString loaded;
    const FileResult r = session_.loadProfile([this, &loaded]() -> std::optional<std::string> {
        const std::optional<QString> path = chooseOpenFile();
        if (!path) return std::nullopt;
        // A file that is no configuration is refused by the load itself, with its message,
        // before anything is replaced: only a usable one is asked about.
        Image probe;
        if (!readConfigurationFile(path->toStdString(), probe)) return path->toStdString();
        const QString name = QFileInfo(*path).fileName();
        if (!askBeforeReplacing(skin_.text(QStringLiteral("Str893")).arg(name))) return std::nullopt;
        loaded = name;
        beginRestart(skin_.text(QStringLiteral("Str888")).arg(name));
        return path->toStdString();
    });
    endRestart(r.ok() && !loaded.isEmpty() ? skin_.text(QStringLiteral("Str899")).arg(loaded) : QString());
}

void MainWindow::Btn_LoadBINClick() {
    session_.loadPatch([this] { return chosenPath(chooseOpenFile()); });
}

void MainWindow::Btn_ProgramClick() {
    // Programming replaces what the mouse runs: asked first, naming the file (Cancel sends
    // nothing). Without a loaded file Program does nothing and asks nothing.
    if (session_.mouseOpen() && session_.patchLoaded() && !patchFilePath_.isEmpty()) {
        const QString question = skin_.text(QStringLiteral("Str803")).arg(QDir::toNativeSeparators(patchFilePath_));
        if (!desktop_.confirm(this, question, QString(), skin_.fontName())) return;
    }
    session_.programPatch();
}

void MainWindow::Img_Base_1DblClick() {
    switch (state_.onEngineerDoubleClick()) {
        case DoubleClickAction::LeaveEngineerState: setEngineerState(false); return;
        case DoubleClickAction::None: return;
        case DoubleClickAction::AskPassword: break;
    }
    const std::optional<QString> typed = desktop_.password(this, skin_.fontName());
    std::optional<std::string> text;
    if (typed) text = typed->toStdString();
    switch (WindowState::passwordOutcome(text)) {
        case PasswordOutcome::Reveal: state_.reveal = true; break;
        case PasswordOutcome::EngineerState: setEngineerState(true); break;
        case PasswordOutcome::None: break;
    }
}

void MainWindow::setEngineerState(bool on) {
    state_.setEngineerState(on);
    if (engineerPage_) engineerPage_->setEngineerState(on);
    for (int n = 1; n <= kPageCopies; ++n)
        if (SkinButton* b = buttonNamed(QStringLiteral("Btn_Engineer_%1").arg(n))) b->setVisible(on);
}

// Key_FireMacroClick: the gun page alone, the user section read back, gun 1.
void MainWindow::showFireMacroPage() {
    HideAllMenu();
    showContainer(6);
    firePage()->raise();
    placeConnectionFooter();
    gunModel_->open();
}

void MainWindow::RefreshFormMessagDialog(const QString& text) { desktop_.message(this, text, skin_.fontName()); }

void MainWindow::raiseFromSecondStart() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

// The session's notifications

void MainWindow::showCovers(bool shown) {
    coversShown_ = shown;
    // A page not built yet takes the covers' state when it is built.
    for (int n = 0; n < kPageCopies; ++n) {
        const SkinPage* page = pages_[static_cast<std::size_t>(n)];
        if (!page) continue;
        CoverLabel* cover = page->cover();
        cover->setVisible(shown);
        if (shown) cover->raiseAbove();
    }
}

void MainWindow::showSplash(bool shown) {
    if (shown) {
        refreshSplashText();
        splash_->showOver(this);
        splashTicker_->start();
    } else {
        splash_->hide();
        splashTicker_->stop();
    }
    QCoreApplication::processEvents();
}

void MainWindow::showMessage(const QString& id) { RefreshFormMessagDialog(skin_.text(id)); }

void MainWindow::showRefusal() { desktop_.plainMessage(this, skin_.text(QStringLiteral("Str107"))); }

void MainWindow::showPermissionDenied(const QString& path) {
    // Once per device node while the program runs: every change of the interface count
    // would otherwise repeat the box until the rule is installed.
    if (deniedPaths_.contains(path)) return;
    deniedPaths_.insert(path);
    desktop_.plainMessage(this, skin_.text(QStringLiteral("Str790")).arg(path));
}

// The application title of the language, which the window manager shows once: Qt adds the
// application's name to a window title that does not end with it.
void MainWindow::applyApplicationTitle() {
    const QString title = skin_.title().isEmpty() ? QLatin1String(kApplicationTitle) : skin_.title();
    QGuiApplication::setApplicationDisplayName(title);
    setWindowTitle(title);
}

bool MainWindow::mayEdit() {
    if (session_.mouseOpen() && !session_.noDevice()) return true;
    RefreshFormMessagDialog(skin_.text(QStringLiteral("Str884")));
    return false;
}

void MainWindow::refreshConnectionFooter() {
    ConnectionFacts facts;
    facts.open = session_.mouseOpen() && !mouseGone_;
    facts.reading = session_.noDevice();
    facts.restarting = !restartTask_.isEmpty();
    facts.deniedPath = deniedPath_;
    if (facts.open) {
        const Connection c = session_.discovery().connection();
        facts.name = c.product.empty() ? skin_.title() : QString::fromStdString(c.product);
        facts.vendorId = c.vendorId;
        facts.productId = c.productId;
        facts.memoryType = qs(memoryTypeName(session_.discovery().connectedMemoryType()));
    }
    const FooterLine line = connectionFooterLine(facts, skin_);
    connectionFooter_->setProperty("plainText", line.text);
    connectionFooter_->setText(QStringLiteral("<span style=\"color:%1\">&#9679;</span>&nbsp;%2")
                                   .arg(line.dot.name(), line.text.toHtmlEscaped()));
    connectionFooter_->setToolTip(line.tip);
}

// The footer lies on the page's bottom line, from the page buttons' column to the first
// Confirm or Exit button of the layout in effect; it is shown on pages 1-5.
void MainWindow::placeConnectionFooter() {
    if (!connectionFooter_) return;
    const bool engineer = engineerPage_ && engineerPage_->isVisible();
    const bool fire = fireMacroPage_ && fireMacroPage_->isVisible();
    QWidget* page = pages_[0];
    SkinButton* close = buttonNamed(QStringLiteral("Btn_Exit1_1"));
    const bool minimiseShown = !engineer && close && close->picture()->isVisibleTo(page);
    minimise_->setVisible(minimiseShown);
    if (minimiseShown) {
        const QRect r = close->picture()->geometry();
        // A round control of the close picture's size, just left of it.
        const int side = std::min(r.width(), r.height());
        minimise_->setGeometry(r.left() - side - 8, r.top() + (r.height() - side) / 2, side, side);
        const QString sheet = minimise_->styleSheet().replace(QRegularExpression(QStringLiteral("border-radius: \\d+px")),
                                                              QStringLiteral("border-radius: %1px").arg(side / 2));
        if (sheet != minimise_->styleSheet()) minimise_->setStyleSheet(sheet);
        minimise_->raise();
    }
    connectionFooter_->setVisible(!engineer && !fire);
    if (engineer || fire) return;
    int left = 30;
    if (SkinButton* b = buttonNamed(QStringLiteral("Btn_Main_1"))) left = b->picture()->x();
    int right = pageSize_.width() - 150;
    int top = pageSize_.height() - 42;
    int height = 30;
    for (const char* name : {"Btn_Confirm1_1", "Btn_Confirm2_1", "Btn_Confirm3_1", "Btn_Exit2_1"}) {
        SkinButton* b = buttonNamed(QLatin1String(name));
        if (!b || !b->picture()->isVisibleTo(page)) continue;
        const QRect r = b->picture()->geometry();
        if (r.left() < right) {
            right = r.left();
            top = r.top();
            height = r.height();
        }
    }
    // Two lines of the long texts fit in the button's height and a little more.
    const int h = std::max(height, 2 * connectionFooter_->fontMetrics().height() + 4);
    connectionFooter_->setGeometry(left, top + height / 2 - h / 2, std::max(120, right - 14 - left), h);
    connectionFooter_->raise();
}

void MainWindow::enterNoDevice() {
    state_.page = Page::Office;
    buttons_->setProfileShown(1);
    showContainer(1);
    sizeFor(Page::Office);
    refreshKeyLabels();
    ButtonTypeB_1IconInit();
    markSelected();
}

void MainWindow::deviceGone() {
    HideAllMenu();
    showCovers(true);
    // "Waiting to reconnect" is for a mouse that was connected: a mouse that was never
    // opened (one this user may not open) is told by the footer and its own message.
    if (!hadMouse_) return;
    hadMouse_ = false;
    RefreshFormMessagDialog(skin_.text(QStringLiteral("Str100")) + QStringLiteral("\n\n") +
                            skin_.text(QStringLiteral("Str101")));
}

void MainWindow::refreshFromImage() { refreshKeyLabels(); }

void MainWindow::showMessageText(const QString& text) { RefreshFormMessagDialog(text); }

void MainWindow::hideMenus() {
    HideAllMenu();
}

void MainWindow::openMainModePage() { openPage(Page::Office); }

void MainWindow::showFirstAndModePage() {
    // Page 1, then the page of the mode in effect. A read started from another page (Save
    // Profile) keeps that page in view, so the page shown always matches the selected button.
    showContainer(1);
    // A profile page follows the profile in effect that the image holds.
    if (isProfilePage(state_.page)) state_.page = static_cast<Page>(buttons_->profileShown());
    openPage(state_.page);
}

void MainWindow::showPatchFilePath(const QString& path) {
    patchFilePath_ = path;
    if (updatePage_) updatePage_->loadedPath()->setText(path);
}

std::optional<QString> MainWindow::chooseSaveFile(bool confirmOverwrite) {
    const std::optional<QString> chosen = desktop_.saveFile(this, QLatin1String(kSaveFilter));
    if (!chosen) return std::nullopt;
    const QString path = withBinExtension(*chosen);
    // The dialog asked about the name it saw; a name that only exists with ".bin" is asked here.
    if (confirmOverwrite && path != *chosen && QFileInfo::exists(path) && !desktop_.confirmOverwrite(this, path))
        return std::nullopt;
    return path;
}

std::optional<QString> MainWindow::chooseOpenFile() { return desktop_.openFile(this, QLatin1String(kLoadFilter)); }

// Window events

void MainWindow::closeEvent(QCloseEvent* event) {
    // FormCloseQuery: the background search and notification reading stop using the device.
    session_.invalidateHandles();
    tray_->hide();
    splash_->hide();
    event->accept();
}

bool MainWindow::event(QEvent* event) {
    // ShowHint: the help text of the control under the pointer goes to lbl_Content.
    if (event->type() == QEvent::StatusTip) {
        if (engineerPage_) engineerPage_->content()->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QWidget::event(event);
}

void MainWindow::armDrag(QMouseEvent* press) {
    if (press->button() != Qt::LeftButton) return;
    HideAllMenu();
    dragArmed_ = true;
    dragging_ = false;
    pressGlobal_ = press->globalPosition().toPoint();
    dragOffset_ = pressGlobal_ - pos();
}

bool MainWindow::followDrag(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    if (dragArmed_ && (event->buttons() & Qt::LeftButton) &&
        (global - pressGlobal_).manhattanLength() >= QApplication::startDragDistance()) {
        dragArmed_ = false;
        // The window manager moves the window where it can; elsewhere the window follows
        // the pointer.
        if (!desktop_.startSystemMove(this)) dragging_ = true;
    }
    if (dragging_) move(global - dragOffset_);
    return dragArmed_ || dragging_;
}

void MainWindow::endDrag() {
    dragArmed_ = false;
    dragging_ = false;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool pageBackground =
        widget && (widget->objectName().startsWith(QLatin1String("Img_Base_")) || widget == connectionFooter_);
    // A covering label blocks its page's controls but not the window: a drag on it moves the
    // window as on the background.
    const bool cover = qobject_cast<CoverLabel*>(watched) != nullptr;
    const bool engineerBackground =
        widget && engineerPage_ &&
        (widget == engineerPage_ || widget == engineerPage_->logo() || widget == engineerPage_->tabs());
    if (!pageBackground && !engineerBackground && !cover) return QWidget::eventFilter(watched, event);
    const bool swallow = pageBackground || cover;
    switch (event->type()) {
        case QEvent::ContextMenu:
            // The languages, minimising and quitting from any state of the window.
            windowMenu_->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        case QEvent::MouseButtonPress: armDrag(static_cast<QMouseEvent*>(event)); return swallow;
        case QEvent::MouseMove: return followDrag(static_cast<QMouseEvent*>(event)) || swallow;
        case QEvent::MouseButtonRelease:
            endDrag();
            return swallow;
        case QEvent::MouseButtonDblClick:
            // Img_Base_1DblClick: the page 1 background and the engineer logo.
            if (widget->objectName() == QLatin1String("Img_Base_1") || (engineerPage_ && widget == engineerPage_->logo())) {
                Img_Base_1DblClick();
                return true;
            }
            return swallow;
        default: return QWidget::eventFilter(watched, event);
    }
}

}  // namespace nivra::ui
