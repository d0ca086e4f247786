// The PC's own pointer settings on the Advanced page: pointer speed, pointer precision,
// double-click speed, wheel lines and whole-screen scrolling. The running desktop's own
// settings are the store: they are read when the page needs them and every change is written
// to the desktop, which applies it at once. A small per-user file keeps only what no desktop
// holds. Each desktop is reached through one PointerBackend (GNOME, KDE Plasma, X11).
#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace nivra {

namespace pointer_store {
inline constexpr const char* kMouse = "Control Panel\\Mouse";
inline constexpr const char* kDesktop = "Control Panel\\Desktop";
inline constexpr const char* kMouseSensitivity = "MouseSensitivity";
inline constexpr const char* kMouseSpeed = "MouseSpeed";
inline constexpr const char* kMouseThreshold1 = "MouseThreshold1";
inline constexpr const char* kMouseThreshold2 = "MouseThreshold2";
inline constexpr const char* kDoubleClickSpeed = "DoubleClickSpeed";
inline constexpr const char* kWheelScrollLines = "WheelScrollLines";
// The wheel step that switching whole-screen scrolling off restores.
inline constexpr const char* kSavedWheelStep = "SavedWheelStep";
}  // namespace pointer_store

// A small text file of "[section]" lines and "name=value" lines. Reading a section that the
// file lacks (or a file that is missing) gives nothing; writing creates what is missing and
// replaces the file atomically (a new file renamed over the old one).
class PointerStore {
public:
    using Section = std::map<QString, QString>;

    explicit PointerStore(QString path) : path_(std::move(path)) {}
    // $XDG_CONFIG_HOME/nivra/pointer-settings.ini ($HOME/.config when XDG_CONFIG_HOME is unset);
    // empty when neither is set.
    static QString defaultPath();

    const QString& path() const { return path_; }
    std::optional<Section> readSection(const QString& section) const;
    // The named values of `section` take the given texts; the other values stay. False when
    // the file could not be written.
    bool writeValues(const QString& section, const Section& values);

private:
    QString path_;
};

// The five settings of the page.
enum class PointerSetting { Speed, Precision, DoubleClick, WheelLines, WholeScreen };
inline constexpr std::array<PointerSetting, 5> kPointerSettings{
    PointerSetting::Speed, PointerSetting::Precision, PointerSetting::DoubleClick, PointerSetting::WheelLines,
    PointerSetting::WholeScreen};

// Pointer settings in the page's own units; nullopt where nothing is known or nothing changes.
struct PointerValues {
    std::optional<int> speed = std::nullopt;          // 1..20 ("MouseSensitivity"; 10 the middle)
    std::optional<bool> precision = std::nullopt;     // pointer acceleration (adaptive) on, or flat
    std::optional<int> doubleClickMs = std::nullopt;  // "DoubleClickSpeed"
    std::optional<int> wheelLines = std::nullopt;     // "WheelScrollLines"; -1 one screen per notch
    friend bool operator==(const PointerValues&, const PointerValues&) = default;
};

// One desktop's pointer settings. holds() says which settings live there; read() gives those
// it could read; write() stores the given settings in the desktop and applies them at once,
// and says whether all of them were.
class PointerBackend {
public:
    virtual ~PointerBackend() = default;
    // The name shown to the user: "GNOME", "KDE", "X11 libinput", "X11".
    virtual QString name() const = 0;
    virtual bool holds(PointerSetting setting) const = 0;
    virtual PointerValues read() = 0;
    virtual bool write(const PointerValues& values) = 0;
};

// The backend of the desktop that runs, or null where none fits (a Wayland compositor other
// than GNOME's and KDE's, no display at all).
std::unique_ptr<PointerBackend> systemPointerBackend();

// The name of the running desktop for messages ("Sway", "a Wayland desktop", "this system").
QString runningDesktopName();

// The desktop's pointer speed (-1..1, as GNOME and libinput keep it) and the page's 1..20,
// mapped so that a value written and read again gives the same step.
double desktopSpeedOf(int speed);
int speedOfDesktop(double desktopSpeed);

// The step tables of the three scales (steps 1..11).
int sensitivityOfStep(int step);   // 1, 2, 4, .. 20
int doubleClickOfStep(int step);   // 900, 830, .. 200 ms
// The step a stored value shows; nullopt leaves the step as it was.
std::optional<int> stepOfSensitivity(int value);    // 0..20
std::optional<int> stepOfDoubleClick(int ms);       // 100..900

// Whether segment `segment` (1-based) of a bar showing `step` (1-based, 0 none) is lit: with
// the one-lit style only segment `step`, otherwise segments 1..step.
constexpr bool barSegmentLit(bool oneLit, int step, int segment) {
    return oneLit ? segment == step : segment <= step;
}

class PointerSettings : public QObject {
    Q_OBJECT
public:
    // `desktop` may be null (no desktop holds any setting); the caller keeps it alive.
    PointerSettings(PointerStore store, PointerBackend* desktop, QObject* parent = nullptr);

    // Called with each change that reached the desktop: the running application follows it.
    void setFollower(std::function<void(const PointerValues&)> follow) { follow_ = std::move(follow); }

    const PointerBackend* desktop() const { return desktop_; }
    // Whether the setting lives in the running desktop (its control takes clicks).
    bool holds(PointerSetting setting) const { return desktop_ && desktop_->holds(setting); }

    int speedStep() const { return speedStep_; }          // 0..11, 0 none read yet
    int doubleClickStep() const { return doubleClickStep_; }
    int wheelStep() const { return wheelStep_; }          // -1 whole screen, 0..11
    int savedWheelStep() const { return savedWheelStep_; }
    // The step the wheel bar's pictures show: a read finding whole-screen scrolling and the
    // whole-screen toggle leave them as they were.
    int wheelBarStep() const { return wheelBarStep_; }
    bool precisionOn() const { return precisionOn_; }     // cb_IsControl
    bool wholeScreenOn() const { return wholeScreen_; }   // cb_IsScreen
    // The wheel scale takes clicks: wheel lines live here and whole-screen scrolling is off.
    bool wheelEnabled() const { return !wholeScreen_ && holds(PointerSetting::WheelLines); }
    // The values as last written or read.
    const PointerValues& values() const { return values_; }

    // Clicks. Each writes its own setting to the desktop, which applies it at once, and
    // returns false (and reads the desktop again) when it could not be applied or when the
    // setting does not live on this desktop.
    bool MseSpd_OnClick(int step);
    bool MseDbSpd_OnClick(int step);
    bool MseScrSpd_OnClick(int step);  // refused while whole-screen scrolling is on
    bool lbl_IsControlClick();
    bool lbl_IsScreenClick();

    // Reads the desktop's settings and shows them (at start, whenever the page is shown and
    // after every read from the mouse).
    void refresh();

signals:
    void changed();

private:
    bool apply(PointerSetting setting, const PointerValues& values);
    void showWheelLines(int lines);

    PointerStore store_;
    PointerBackend* desktop_;
    std::function<void(const PointerValues&)> follow_;
    int speedStep_ = 0;
    int doubleClickStep_ = 0;
    int wheelStep_ = 0;
    int savedWheelStep_ = 0;
    int wheelBarStep_ = 0;
    bool precisionOn_ = false;
    bool wholeScreen_ = false;
    PointerValues values_;
};

}  // namespace nivra
