// What every nivractl command shares: the result a command ends with and the one place that
// turns it into an exit status and a message, the English texts, the strict parsers of
// numbers and colours, and the connected mouse with the models the window uses.
#pragma once

#include "device/session.h"
#include "image/fields.h"

#include <QMetaObject>
#include <QObject>
#include <QString>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nivra {
class ButtonModel;
class CpiModel;
class Discovery;
class FireKeyModel;
class FireMacroModel;
class GunModel;
class ImageEditor;
class LightingModel;
class MacroModel;
class MouseSession;
class ProfileModel;
struct HidInterfaceInfo;
}  // namespace nivra

namespace nivractl {

// Exit statuses shared by every command.
inline constexpr int kOk = 0;
inline constexpr int kBadInput = 1;  // a one-line message has gone to stderr
inline constexpr int kBadUsage = 2;

// Global options, parsed before the command name: the device options the window takes too.
using GlobalOptions = nivra::SessionOptions;

struct Invocation {
    GlobalOptions global;
    std::vector<std::string> args;    // the words after the command name
};

// ---------------------------------------------------------------- results

// How a command ended. Commands return a Result; exitStatus() alone prints its messages and
// gives the exit status.
struct Result {
    enum class Kind { Ok, Failed, BadUsage };
    Kind kind = Kind::Ok;
    // One line each on stderr as "nivractl: MESSAGE", in order.
    std::vector<std::string> messages;
    // BadUsage: the command whose usage line follows the messages ("" for the whole help).
    std::string usageOf;

    bool ok() const { return kind == Kind::Ok; }
};

inline Result ok() { return {}; }
// Failed with a one-line message: exit 1.
Result fail(std::string message);
// The change was not made because a transfer was running.
Result busy();
// The command line did not fit the named command's usage: exit 2 with its usage line.
Result usageError(std::string commandName, std::vector<std::string> messages = {});
// `later` failed after `first` already ended (a mouse that would not close after a failed
// change): both messages are kept, the later outcome decides. An ok `later` keeps `first`.
Result andThen(Result first, Result later);

// Prints the result's messages (and the usage line of a usage error) on stderr and returns
// the exit status: kOk, kBadInput or kBadUsage.
int exitStatus(const Result& result);

// ---------------------------------------------------------------- texts and parsers

// The English language table's text of a language id ("Str107"); the id itself when the
// tables lack it.
std::string english(std::string_view id);

// A whole decimal integer from `lo` to `hi`: the empty word, a sign other than '-', blanks,
// trailing characters and values out of range are refused; `error` then says why.
std::optional<int> parseInteger(std::string_view text, int lo, int hi, std::string* error = nullptr);
// A colour as six hex digits RRGGBB, a leading '#' allowed; anything else is refused.
std::optional<nivra::Rgb> parseColour(std::string_view text, std::string* error = nullptr);
// "on" or "off".
std::optional<bool> parseOnOff(std::string_view text);

// ---------------------------------------------------------------- the layout and the mouse

// What the commands take from the shipped layout table ORG, as the window reads it.
struct LayoutConfig {
    std::uint8_t reserveManufacturerId = 0;  // Rev_Manu_ID, 0 when missing or not a byte
    std::uint8_t reserveProductId = 0;       // Rev_Pro_ID
    bool gunDisplay = false;                 // GD_Enable
    std::optional<std::pair<int, int>> gunScopes;  // Gun6_Num, Gun7_Num
    std::filesystem::path libraryFile;       // the PC macro library the window uses (key Path)
};
LayoutConfig layoutConfig();

// A mouse that is there but this user may not open (EACCES): that, and how to fix it.
std::string deniedMessage(const nivra::HidInterfaceInfo& denied);
// Why the mouse could not be opened: deniedMessage() for a present mouse this user may not
// open, otherwise `notFound`.
std::string mouseNotOpenedReason(nivra::Discovery& discovery, const std::string& notFound);

// The program's one MouseSession, found, identified and read whole, with its models (built
// on first use, as the window has them).
class Connected {
public:
    Connected(nivra::MouseSession& session, const LayoutConfig& layout, const std::vector<std::string>& messages);
    ~Connected();
    Connected(const Connected&) = delete;
    Connected& operator=(const Connected&) = delete;

    nivra::MouseSession& session() { return session_; }
    nivra::ImageEditor& editor();
    const LayoutConfig& layout() const { return layout_; }
    // The session's messages so far, in English.
    const std::vector<std::string>& messages() const { return messages_; }
    std::string firstMessage(const std::string& fallback) const;

    nivra::ButtonModel& buttons();
    nivra::ProfileModel& profiles();
    nivra::CpiModel& cpi();
    nivra::FireKeyModel& fireKeys();
    nivra::LightingModel& lighting();
    nivra::GunModel& gun();
    nivra::FireMacroModel& fireMacros();
    nivra::MacroModel& macros();

    // Restarts the mouse (a new report rate takes effect then), finds and reads it again;
    // true when it came back read whole. The CPI model's restart is this.
    bool restart();
    // Every restart so far brought the mouse back.
    bool restartsCameBack() const { return restartsCameBack_; }

private:
    nivra::MouseSession& session_;
    const LayoutConfig& layout_;
    const std::vector<std::string>& messages_;
    bool profileLayoutSet_ = false;
    bool restartsCameBack_ = true;
};

// Runs `body` on the connected mouse of the global options and returns its result; refuses
// with a message when no usable mouse answers. Every write of the body's change must be
// accepted, the connection's backup must have been kept, and the simulated memory is saved
// back when the session closes. `spare` names a file the connection's backup must not prune
// away before the body reads it.
Result withMouse(const Invocation& inv, const std::function<Result(Connected&)>& body,
                 const std::filesystem::path& spare = {});

// What a model tells the user while a command runs (its message and messageText signals), in
// English, kept for the error line.
template <typename Model>
class ModelMessages {
public:
    explicit ModelMessages(Model& model) {
        heard_[0] = QObject::connect(&model, &Model::message,
                                     [this](const QString& id) { messages_.push_back(english(id.toStdString())); });
        heard_[1] = QObject::connect(&model, &Model::messageText,
                                     [this](const QString& text) { messages_.push_back(text.toStdString()); });
    }
    ~ModelMessages() {
        for (const QMetaObject::Connection& c : heard_) QObject::disconnect(c);
    }
    ModelMessages(const ModelMessages&) = delete;
    ModelMessages& operator=(const ModelMessages&) = delete;

    bool empty() const { return messages_.empty(); }
    // Failed with `what` and the first message when the model told one.
    Result result(const std::string& what) const {
        if (!messages_.empty()) return fail(what + ": " + messages_.front());
        return ok();
    }

private:
    std::array<QMetaObject::Connection, 2> heard_;
    std::vector<std::string> messages_;
};

}  // namespace nivractl
