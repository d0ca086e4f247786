// What every nivractl command shares: results and exit statuses, English texts, the strict
// parsers, and the connected mouse with the window's models.
#include "tools/nivractl/cli.h"

#include "device/discovery.h"
#include "device/hid_transport.h"
#include "device/hidapi_transport.h"
#include "device/transfer.h"
#include "files/backup.h"
#include "macro/library.h"
#include "settings/button_model.h"
#include "settings/cpi_model.h"
#include "settings/fire_key_model.h"
#include "settings/fire_macro_model.h"
#include "settings/gun_model.h"
#include "settings/image_editor.h"
#include "settings/lighting.h"
#include "settings/macro_model.h"
#include "settings/mouse_session.h"
#include "settings/profile_model.h"
#include "skin/language_table.h"
#include "skin/skin_layout.h"
#include "tools/nivractl/command.h"

#include <charconv>
#include <cstdio>
#include <iostream>

namespace nivractl {

// ---------------------------------------------------------------- results

Result fail(std::string message) {
    Result r;
    r.kind = Result::Kind::Failed;
    r.messages.push_back(std::move(message));
    return r;
}

Result busy() { return fail("the mouse is busy with a transfer"); }

Result usageError(std::string commandName, std::vector<std::string> messages) {
    Result r;
    r.kind = Result::Kind::BadUsage;
    r.messages = std::move(messages);
    r.usageOf = std::move(commandName);
    return r;
}

Result andThen(Result first, Result later) {
    if (later.ok()) return first;
    first.messages.insert(first.messages.end(), later.messages.begin(), later.messages.end());
    first.kind = later.kind;
    first.usageOf = std::move(later.usageOf);
    return first;
}

void printHelp(std::ostream& out);

int exitStatus(const Result& result) {
    for (const std::string& m : result.messages) std::cerr << "nivractl: " << m << '\n';
    switch (result.kind) {
    case Result::Kind::Ok: return kOk;
    case Result::Kind::Failed: return kBadInput;
    case Result::Kind::BadUsage:
        for (const Command& c : commands()) {
            if (c.name == result.usageOf) {
                std::cerr << "usage: nivractl " << c.usage << '\n';
                return kBadUsage;
            }
        }
        printHelp(std::cerr);
        return kBadUsage;
    }
    return kBadInput;
}

// ---------------------------------------------------------------- texts and parsers

std::string english(std::string_view id) {
    std::string text = nivra::skin::builtInText(3, id);
    return text.empty() ? std::string(id) : text;
}

std::optional<int> parseInteger(std::string_view text, int lo, int hi, std::string* error) {
    const auto refuse = [&](const std::string& why) {
        if (error) *error = why;
        return std::nullopt;
    };
    if (text.empty()) return refuse("a number is missing");
    const std::string word(text);
    const std::string range = std::to_string(lo) + ".." + std::to_string(hi);
    // No minus where none is allowed: "-0" is no slot 0.
    if (text.front() == '-' && lo >= 0) return refuse(word + " is not a number from " + range);
    int v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec == std::errc::result_out_of_range) return refuse(word + " is not a number from " + range);
    if (ec != std::errc() || end != text.data() + text.size()) return refuse("not a whole number: " + word);
    if (v < lo || v > hi) return refuse(word + " is not a number from " + range);
    return v;
}

std::optional<nivra::Rgb> parseColour(std::string_view text, std::string* error) {
    const std::string word(text);
    if (!text.empty() && text.front() == '#') text.remove_prefix(1);
    unsigned v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, 16);
    // from_chars takes no sign or "0x" in base 16, so six characters read whole are six digits.
    if (text.size() != 6 || ec != std::errc() || end != text.data() + text.size()) {
        if (error) *error = "not a colour of six hex digits (RRGGBB): " + word;
        return std::nullopt;
    }
    return nivra::Rgb{static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
                      static_cast<std::uint8_t>(v)};
}

std::optional<bool> parseOnOff(std::string_view text) {
    if (text == "on") return true;
    if (text == "off") return false;
    return std::nullopt;
}

// ---------------------------------------------------------------- the layout

LayoutConfig layoutConfig() {
    LayoutConfig c;
    const nivra::skin::Checked<nivra::skin::GlobalLayout> global = nivra::skin::LoadGlobalLayout();
    std::string macroPath;
    if (global) {
        const auto byte = [](int v) { return v >= 0 && v <= 0xFF ? static_cast<std::uint8_t>(v) : std::uint8_t{0}; };
        c.reserveManufacturerId = byte(global->reserveManufacturerId);
        c.reserveProductId = byte(global->reserveProductId);
        c.gunDisplay = global->gunDisplay;
        c.gunScopes = std::pair{global->gun6Scopes, global->gun7Scopes};
        macroPath = global->macroPath.toStdString();
    }
    c.libraryFile = nivra::macro::libraryFilePath(macroPath);
    return c;
}

namespace {
std::string hex4(unsigned v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", v & 0xFFFF);
    return buf;
}
}  // namespace

std::string deniedMessage(const nivra::HidInterfaceInfo& denied) {
    return "no permission to open the mouse (" + hex4(denied.vendorId) + ":" + hex4(denied.productId) + ") at " +
           denied.path + ": install the nivra-configurator package, which brings the udev rule, or install the rule " +
           nivra::kUdevRuleFile +
           " into /etc/udev/rules.d/ and run 'udevadm control --reload && udevadm trigger' as root; then plug the "
           "mouse in again";
}

std::string mouseNotOpenedReason(nivra::Discovery& discovery, const std::string& notFound) {
    if (const auto denied = discovery.deniedMouseInterface()) return deniedMessage(*denied);
    return notFound;
}

// ---------------------------------------------------------------- the connected mouse

Connected::Connected(nivra::MouseSession& session, const LayoutConfig& layout, const std::vector<std::string>& messages)
    : session_(session), layout_(layout), messages_(messages) {}

Connected::~Connected() = default;

nivra::ImageEditor& Connected::editor() { return session_.editor(); }

std::string Connected::firstMessage(const std::string& fallback) const {
    return messages_.empty() ? fallback : messages_.front();
}

// The session's models, built with the layout's config (withMouse()); the profile model
// shows the layout's gun entries as the window's profile page sets them.
nivra::ButtonModel& Connected::buttons() { return session_.models().buttons(); }

nivra::ProfileModel& Connected::profiles() {
    nivra::ProfileModel& profiles = session_.models().profiles();
    if (!profileLayoutSet_) {
        nivra::ProfileLayout profileLayout;
        profileLayout.gdEnable = layout_.gunDisplay;
        profiles.setLayout(profileLayout);
        profileLayoutSet_ = true;
    }
    return profiles;
}

nivra::CpiModel& Connected::cpi() { return session_.models().cpi(); }
nivra::FireKeyModel& Connected::fireKeys() { return session_.models().fireKeys(); }
nivra::LightingModel& Connected::lighting() { return session_.models().lighting(); }

nivra::GunModel& Connected::gun() {
    profiles();   // the gun model works with the profile model as the layout sets it
    return session_.models().gun();
}

nivra::FireMacroModel& Connected::fireMacros() { return session_.models().fireMacros(); }
nivra::MacroModel& Connected::macros() { return session_.models().macros(); }

bool Connected::restart() {
    const bool back = session_.restartMouse();
    if (!back) restartsCameBack_ = false;
    return back;
}

namespace {

// The session of the global options with what a shell needs of its notifications: the
// messages for the error line and the refusals.
struct Opened {
    std::unique_ptr<nivra::MouseSession> session;
    std::vector<std::string> messages;
    bool memoryTypeError = false;
};

// Finds, identifies and reads the mouse; the reason when it is not usable.
std::optional<std::string> connectMouse(Opened& o) {
    nivra::MouseSession& s = *o.session;
    nivra::Transfer& t = s.transfer();
    const std::size_t before = t.readRuns();
    if (!s.findNow()) return mouseNotOpenedReason(s.discovery(), english("Str022"));
    if (s.refusals() > 0) return english("Str107");
    if (o.memoryTypeError) return english("Str102");
    if (t.readRuns() == before || !t.connectedI2c())
        return std::string("the mouse did not identify itself as a mouse with an I2C configuration memory");
    if (!t.lastReadAccepted()) return std::string("the mouse did not answer the read of its configuration");
    // Some reports of the read were lost, twice: nothing is shown or changed.
    if (!t.lastReadComplete()) return english("Str821");
    return std::nullopt;
}

}  // namespace

Result withMouse(const Invocation& inv, const std::function<Result(Connected&)>& body,
                 const std::filesystem::path& spare) {
    const LayoutConfig layout = layoutConfig();
    nivra::ModelConfig config;
    config.reserveManufacturerId = layout.reserveManufacturerId;
    config.reserveProductId = layout.reserveProductId;
    config.macroLibraryFile = layout.libraryFile;
    if (layout.gunScopes) config.gunLayout = nivra::GunLayout{layout.gunScopes->first, layout.gunScopes->second};
    config.language = [](std::string_view id) { return english(id); };
    Opened o;
    std::string error;
    o.session = nivra::MouseSession::open(inv.global, config, &error);
    if (!o.session) return fail(error);
    nivra::MouseSession& s = *o.session;
    QObject::connect(&s, &nivra::MouseSession::message, [&o](const QString& id) {
        if (id == QLatin1String("Str102")) o.memoryTypeError = true;
        o.messages.push_back(english(id.toStdString()));
    });
    QObject::connect(&s, &nivra::MouseSession::messageText,
                     [&o](const QString& text) { o.messages.push_back(text.toStdString()); });
    QObject::connect(&s, &nivra::MouseSession::refused, [&o] { o.messages.push_back(english("Str107")); });
    s.enterNoDevice();
    if (!spare.empty() && s.backups()) s.backups()->spare(spare);

    Result result;
    if (const std::optional<std::string> unusable = connectMouse(o)) {
        result = fail(*unusable);
    } else {
        Connected connected(s, layout, o.messages);
        // Every report of the command's change counts, not only the last one: a refused
        // write fails the command.
        nivra::ImageEditor::WriteCheck writes(s.editor());
        result = body(connected);
        if (result.ok() && !writes.allAccepted()) result = fail("the mouse did not accept every report of the change");
    }
    // The configuration read was to be kept as a backup: a backup that could not be written
    // (a full disk, a folder without rights) fails the command rather than pass unseen.
    if (const std::string failure = s.backupFailure(); !failure.empty() && result.ok())
        result = fail("no backup of the mouse's configuration was kept: " + failure);
    // Closing saves the simulated memory back to its file.
    if (!s.close(&error)) result = andThen(std::move(result), fail(error));
    return result;
}

}  // namespace nivractl
