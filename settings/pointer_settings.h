// The PC's own pointer settings on the Advanced page: pointer speed, pointer precision,
// double-click speed, wheel lines and whole-screen scrolling. The six values are kept as
// decimal text in a per-user store (two sections named like the Windows keys they stand
// for) and applied to the running desktop through backends that each act only where they can.
#pragma once

#include <QObject>
#include <QString>

#include <array>
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

// What an apply hands the desktop: the values last written or read (0 where none is known).
struct PointerApply {
    int speed = 0;          // "MouseSensitivity": 1..20
    int threshold1 = 0;     // "MouseThreshold1"
    int threshold2 = 0;     // "MouseThreshold2"
    int acceleration = 0;   // "MouseSpeed": 0 off, otherwise pointer precision on
    int doubleClickMs = 0;  // "DoubleClickSpeed"
    int wheelLines = 0;     // "WheelScrollLines": -1 one screen per notch
    friend bool operator==(const PointerApply&, const PointerApply&) = default;
};

// One way to reach the running desktop. apply() does nothing where the backend cannot act
// (its desktop is not running, its settings do not exist); it never reports an error.
class PointerBackend {
public:
    virtual ~PointerBackend() = default;
    virtual void apply(const PointerApply& values) = 0;
};

// The backends of this machine that can act: GNOME's mouse settings when that schema exists
// in a GNOME session, X11 pointer control when the display is X11. The application's own
// hints come from the UI layer.
std::vector<std::unique_ptr<PointerBackend>> systemPointerBackends();

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
    PointerSettings(PointerStore store, QObject* parent = nullptr);

    // Backends are called in the order added; the caller keeps them alive.
    void addBackend(PointerBackend* backend) { backends_.push_back(backend); }

    int speedStep() const { return speedStep_; }          // 0..11, 0 none read yet
    int doubleClickStep() const { return doubleClickStep_; }
    int wheelStep() const { return wheelStep_; }          // -1 whole screen, 0..11
    int savedWheelStep() const { return savedWheelStep_; }
    // The step the wheel bar's pictures show: a read finding whole-screen scrolling and the
    // whole-screen toggle leave them as they were.
    int wheelBarStep() const { return wheelBarStep_; }
    bool precisionOn() const { return precisionOn_; }     // cb_IsControl
    bool wholeScreenOn() const { return wholeScreen_; }   // cb_IsScreen
    bool wheelEnabled() const { return !wholeScreen_; }   // the wheel scale takes clicks
    // The values as last written or read.
    PointerApply values() const;

    // Clicks; each writes the store and applies to the desktop.
    void MseSpd_OnClick(int step);
    void MseDbSpd_OnClick(int step);
    void MseScrSpd_OnClick(int step);  // ignored while whole-screen scrolling is on
    void lbl_IsControlClick();
    void lbl_IsScreenClick();

    // Reads the store and shows what it holds (at start and after every read from the mouse).
    void refresh() {
        RefreshMouseSystemParameterA();
        RefreshMouseSystemParameterB();
    }
    void RefreshMouseSystemParameterA();
    void RefreshMouseSystemParameterB();

signals:
    void changed();

private:
    void applyPointerSettings();
    void ChangedMouseSystemParameterA();
    void ChangedMouseSystemParameterB();

    PointerStore store_;
    std::vector<PointerBackend*> backends_;
    int speedStep_ = 0;
    int doubleClickStep_ = 0;
    int wheelStep_ = 0;
    int savedWheelStep_ = 0;
    int wheelBarStep_ = 0;
    bool precisionOn_ = false;
    bool wholeScreen_ = false;
    int speedValue_ = 0;
    int doubleClickTime_ = 0;
    int wheelLines_ = 0;
    std::array<int, 3> precision_{};  // MouseSpeed, MouseThreshold1, MouseThreshold2
};

}  // namespace nivra
