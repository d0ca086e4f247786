// Test doubles for the main window: a skin with a few texts, the real session over a
// simulated mouse, and a desktop that records dialogs instead of showing them.
#pragma once

#include "ui/desktop.h"
#include "device/clock.h"
#include "device/discovery.h"
#include "device/simulated_mouse.h"
#include "image/builtin.h"
#include "settings/mouse_session.h"
#include "ui/skin_port.h"

#include <QImage>
#include <QStringList>

#include <deque>
#include <map>

namespace nivra::ui::test {

class FakeSkin : public SkinPort {
public:
    int language = 0;
    GlobalLayout global;
    ControlSkinMap extraLayout;  // added to every pass
    ControlSkinMap current;

    QPixmap picture(const QString& name) const override {
        QPixmap pm(name == QLatin1String("L1_BackGround") || name == QLatin1String("L3_BackGround") ? QSize(1030, 662)
                                                                                                  : QSize(100, 30));
        pm.fill(Qt::darkGray);
        if (pm.width() == 1030) {  // see-through top left corner, as the shipped art has
            QImage img = pm.toImage();
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 4 - y; ++x) img.setPixelColor(x, y, QColor(128, 0, 0));
            pm = QPixmap::fromImage(img);
        }
        return pm;
    }
    std::map<QString, QString> startPictures() const override { return {}; }
    GlobalLayout globalLayout() const override { return global; }
    QString applyLanguage(int n, skin::Page, const std::array<QString, 12>&) override {
        language = n;
        current = extraLayout;
        for (int copy = 1; copy <= 5; ++copy) current[QStringLiteral("Btn_Main_%1").arg(copy)].caption = text(QStringLiteral("Str004"));
        return {};
    }
    const ControlSkinMap& layout() const override { return current; }
    QString text(const QString& id) const override {
        static const std::map<QString, QString> english{
            {QStringLiteral("Str004"), QStringLiteral("Office Mode")},
            {QStringLiteral("Str022"), QStringLiteral("Finding the specified device")},
            {QStringLiteral("Str100"), QStringLiteral("Waiting to reconnect device")},
            {QStringLiteral("Str107"), QStringLiteral("The mouse manufacturer or product id error")},
            {QStringLiteral("Str790"), QStringLiteral("May not open the mouse (%1): install the udev rule 70-nivra-mouse.rules")},
            {QStringLiteral("Str840"), QStringLiteral("No backup of the mouse's configuration was kept: %1")},
            {QStringLiteral("Str880"), QStringLiteral("Mouse connected: %1 (%2), memory %3")},
            {QStringLiteral("Str881"), QStringLiteral("No mouse found: plug the mouse in")},
            {QStringLiteral("Str882"), QStringLiteral("The mouse may not be opened: install the package or the udev rule, then plug it in again")},
            {QStringLiteral("Str883"), QStringLiteral("Mouse found (%1): reading")},
            {QStringLiteral("Str884"), QStringLiteral("No mouse is connected, so the change was not made.")},
            {QStringLiteral("Str885"), QStringLiteral("The mouse restarts: %1 s")},
            {QStringLiteral("Str886"), QStringLiteral("Reading the mouse")},
            {QStringLiteral("Str887"), QStringLiteral("Restoring built-in configuration %1")},
            {QStringLiteral("Str888"), QStringLiteral("Loading %1")},
            {QStringLiteral("Str889"), QStringLiteral("Changing the report rate")},
            {QStringLiteral("Str892"), QStringLiteral("Restore built-in configuration %1?")},
            {QStringLiteral("Str893"), QStringLiteral("Load %1 into the mouse?")},
            {QStringLiteral("Str894"), QStringLiteral("Change the LED type to %1?")},
            {QStringLiteral("Str895"), QStringLiteral("Restore the defaults?")},
            {QStringLiteral("Str896"), QStringLiteral("This replaces the whole configuration.")},
            {QStringLiteral("Str897"), QStringLiteral("This replaces the whole configuration by the type's defaults.")},
            {QStringLiteral("Str898"), QStringLiteral("Restored built-in configuration %1.")},
            {QStringLiteral("Str899"), QStringLiteral("Loaded %1.")},
            {QStringLiteral("Str900"), QStringLiteral("The defaults are restored.")},
            {QStringLiteral("Str901"), QStringLiteral("The LED type is now %1.")},
            {QStringLiteral("Str902"), QStringLiteral("The mouse did not come back.")},
            {QStringLiteral("Str903"), QStringLiteral("Language")},
            {QStringLiteral("Str905"), QStringLiteral("Quit")},
            {QStringLiteral("Str920"), QStringLiteral("The mouse is restarting")},
            {QStringLiteral("Str910"), QStringLiteral("简体中文")},
            {QStringLiteral("Str911"), QStringLiteral("繁體中文")},
            {QStringLiteral("Str912"), QStringLiteral("English")},
            {QStringLiteral("Str802"), QStringLiteral("Not a patch file: exactly 528 bytes are needed")},
            {QStringLiteral("Str803"), QStringLiteral("The mouse's firmware patch will be replaced by %1")},
        };
        static const std::map<QString, QString> chinese{{QStringLiteral("Str004"), QStringLiteral("办公模式")},
                                                        {QStringLiteral("Str803"), QStringLiteral("鼠标的固件补丁将被 %1 替换")}};
        if (language == 1)
            if (auto it = chinese.find(id); it != chinese.end()) return it->second;
        auto it = english.find(id);
        return it == english.end() ? QString() : it->second;
    }
    ControlSkinMap dialogLayout(int) const override { return {}; }
    QString fontName() const override { return QStringLiteral("DejaVu Sans"); }
    bool comboKey8 = false;
    bool comboKey8Enabled() const override { return comboKey8; }
    QString title() const override { return QStringLiteral("Gaming Mouse"); }
    QString engineerCaption(int row) const override { return QStringLiteral("row %1").arg(row); }
    QString engineerFont() const override { return {}; }
};

// The window's device: the program's MouseSession over a simulated mouse on a virtual clock.
struct SimulatedDevice {
    VirtualClock clock;
    SimulatedMouse mouse{clock, builtinImage(1)};
    MouseSession session{mouse, clock};

    // The first presence poll: the mouse is found, identified and read.
    void connect() { session.pollNow(); }
    // The mouse opened and identified, but not yet read.
    void openWithoutReading() {
        const DeviceId id = session.discovery().config().deviceTable[0];
        session.discovery().OpenMouse(id.vendorId, id.productId);
    }
};

class FakeDesktop : public Desktop {
public:
    QStringList messages;
    QStringList plainMessages;
    int passwordPrompts = 0;
    std::deque<std::optional<QString>> passwords;  // answers, in turn
    std::optional<QString> fileAnswer;
    QStringList filters;
    bool overwrite = false;
    int overwriteQuestions = 0;
    QStringList urls;

    void message(QWidget*, const QString& text, const QString&) override { messages << text; }
    void plainMessage(QWidget*, const QString& text) override { plainMessages << text; }
    std::optional<QString> password(QWidget*, const QString&) override {
        ++passwordPrompts;
        if (passwords.empty()) return std::nullopt;
        auto a = passwords.front();
        passwords.pop_front();
        return a;
    }
    std::optional<QString> openFile(QWidget*, const QString& filter) override {
        filters << filter;
        return fileAnswer;
    }
    std::optional<QString> saveFile(QWidget*, const QString& filter) override {
        filters << filter;
        return fileAnswer;
    }
    bool confirmOverwrite(QWidget*, const QString&) override {
        ++overwriteQuestions;
        return overwrite;
    }
    // Confirmations asked (question, then detail) and the answers, in turn; `confirmAnswer`
    // when none is left. `confirmQuestions` keeps the questions alone.
    QStringList questions;
    QStringList confirmQuestions;
    std::deque<bool> confirmAnswers;
    bool confirmAnswer = true;
    bool confirm(QWidget*, const QString& question, const QString& detail, const QString&) override {
        questions << question + QLatin1Char('|') + detail;
        confirmQuestions << question;
        if (confirmAnswers.empty()) return confirmAnswer;
        const bool answer = confirmAnswers.front();
        confirmAnswers.pop_front();
        return answer;
    }
    void openUrl(const QString& address) override { urls << address; }
    int systemMoves = 0;
    bool systemMoveWorks = false;  // offscreen and Wayland without support: the window moves itself
    bool startSystemMove(QWidget*) override {
        ++systemMoves;
        return systemMoveWorks;
    }
};

}  // namespace nivra::ui::test
