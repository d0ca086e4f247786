// XInput2 raw key and button events of the whole desktop, mapped to capture rows.
#include "xinput/xinput_source.h"

#include "image/keys.h"

#include <array>

#include <X11/XF86keysym.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

namespace nivra {

namespace {

struct KeysymToQt {
    std::uint32_t keysym;
    int qtKey;
};

// Keysyms whose Qt key is not their own character.
constexpr KeysymToQt kSpecial[] = {
    {XK_Escape, qt_key::kEscape}, {XK_Tab, qt_key::kTab}, {XK_ISO_Left_Tab, qt_key::kBacktab},
    {XK_BackSpace, qt_key::kBackspace}, {XK_Return, qt_key::kReturn}, {XK_KP_Enter, qt_key::kEnter},
    {XK_Insert, qt_key::kInsert}, {XK_Delete, qt_key::kDelete}, {XK_Pause, qt_key::kPause},
    {XK_Print, qt_key::kPrint}, {XK_Sys_Req, qt_key::kSysReq}, {XK_Clear, qt_key::kClear},
    {XK_Home, qt_key::kHome}, {XK_End, qt_key::kEnd}, {XK_Left, qt_key::kLeft}, {XK_Up, qt_key::kUp},
    {XK_Right, qt_key::kRight}, {XK_Down, qt_key::kDown}, {XK_Prior, qt_key::kPageUp},
    {XK_Next, qt_key::kPageDown}, {XK_Shift_L, qt_key::kShift}, {XK_Shift_R, qt_key::kShift},
    {XK_Control_L, qt_key::kControl}, {XK_Control_R, qt_key::kControl}, {XK_Meta_L, qt_key::kMeta},
    {XK_Meta_R, qt_key::kMeta}, {XK_Alt_L, qt_key::kAlt}, {XK_Alt_R, qt_key::kAlt},
    {XK_ISO_Level3_Shift, qt_key::kAltGr}, {XK_Caps_Lock, qt_key::kCapsLock},
    {XK_Num_Lock, qt_key::kNumLock}, {XK_Scroll_Lock, qt_key::kScrollLock},
    {XK_Super_L, qt_key::kSuperL}, {XK_Super_R, qt_key::kSuperR}, {XK_Menu, qt_key::kMenu},
    {XK_Help, qt_key::kHelp}, {XK_Select, qt_key::kSelect},
    {XF86XK_Back, qt_key::kBack}, {XF86XK_Forward, qt_key::kForward}, {XF86XK_Refresh, qt_key::kRefresh},
    {XF86XK_Reload, qt_key::kRefresh}, {XF86XK_Stop, qt_key::kStop}, {XF86XK_Search, qt_key::kSearch},
    {XF86XK_Favorites, qt_key::kFavorites}, {XF86XK_HomePage, qt_key::kHomePage},
    {XF86XK_AudioMute, qt_key::kVolumeMute}, {XF86XK_AudioLowerVolume, qt_key::kVolumeDown},
    {XF86XK_AudioRaiseVolume, qt_key::kVolumeUp}, {XF86XK_AudioNext, qt_key::kMediaNext},
    {XF86XK_AudioPrev, qt_key::kMediaPrevious}, {XF86XK_AudioStop, qt_key::kMediaStop},
    {XF86XK_AudioPlay, qt_key::kMediaPlay}, {XF86XK_AudioPause, qt_key::kMediaPause},
    {XF86XK_Mail, qt_key::kLaunchMail}, {XF86XK_AudioMedia, qt_key::kLaunchMedia},
    {XF86XK_MyComputer, qt_key::kLaunch0}, {XF86XK_Explorer, qt_key::kExplorer},
    {XF86XK_Calculator, qt_key::kCalculator},
};

// Keypad keysyms as the character Qt reports with the keypad flag.
constexpr KeysymToQt kKeypad[] = {
    {XK_KP_Multiply, '*'}, {XK_KP_Add, '+'}, {XK_KP_Subtract, '-'}, {XK_KP_Decimal, '.'},
    {XK_KP_Separator, ','}, {XK_KP_Divide, '/'},
};

bool isKeypadDigitOrPoint(std::uint32_t keysym) {
    return (keysym >= XK_KP_0 && keysym <= XK_KP_9) || keysym == XK_KP_Decimal || keysym == XK_KP_Separator;
}

}  // namespace

KeyEventIdentity keyIdentityOfKeysym(std::uint32_t keysym, std::uint32_t keycode) {
    KeyEventIdentity id;
    id.keysym = keysym;
    id.scanCode = keycode;
    for (const KeysymToQt& k : kSpecial) {
        if (k.keysym == keysym) {
            id.qtKey = k.qtKey;
            return id;
        }
    }
    if (keysym >= XK_F1 && keysym <= XK_F24) {
        id.qtKey = qt_key::kF1 + static_cast<int>(keysym - XK_F1);
    } else if (keysym >= XK_KP_0 && keysym <= XK_KP_9) {
        id.keypad = true;
        id.qtKey = '0' + static_cast<int>(keysym - XK_KP_0);
    } else if (keysym >= XK_KP_Space && keysym <= XK_KP_Equal) {
        id.keypad = true;
        for (const KeysymToQt& k : kKeypad) {
            if (k.keysym == keysym) id.qtKey = k.qtKey;
        }
    } else if (keysym >= 'a' && keysym <= 'z') {
        id.qtKey = static_cast<int>(keysym) - 'a' + 'A';
    } else if (keysym >= 0xE0 && keysym <= 0xFE && keysym != 0xF7) {
        id.qtKey = static_cast<int>(keysym) - 0x20;  // Latin-1 lower case to upper case
    } else if (keysym >= 0x20 && keysym <= 0xFF) {
        id.qtKey = static_cast<int>(keysym);
    } else if ((keysym & 0xFF000000u) == 0x01000000u) {
        id.qtKey = static_cast<int>(keysym & 0x00FFFFFFu);  // a Unicode keysym
    }
    return id;
}

struct XInputListener::Impl {
    enum class KeyState : std::uint8_t { Unknown, Down, Up };

    Display* display = nullptr;
    int opcode = 0;
    // Keys seen going up or down. A second release of a key already up is no real event
    // (the XTEST keyboard sends one after a held modifier), so it is dropped; a key never
    // seen before may have been held down before the listener opened and passes.
    std::array<KeyState, 256> keys{};

    ~Impl() {
        if (display) XCloseDisplay(display);
    }

    std::size_t captureIndexOf(unsigned keycode) const {
        const auto kc = static_cast<KeyCode>(keycode);
        KeySym sym = XkbKeycodeToKeysym(display, kc, 0, 0);
        // The keypad's digits and point are their level-two symbols (level one is the
        // cursor key they double as while Num Lock is off).
        const KeySym level2 = XkbKeycodeToKeysym(display, kc, 0, 1);
        if (isKeypadDigitOrPoint(static_cast<std::uint32_t>(level2))) sym = level2;
        return captureIndexForKeyEvent(keyIdentityOfKeysym(static_cast<std::uint32_t>(sym), keycode));
    }
};

XInputListener::XInputListener(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
XInputListener::~XInputListener() = default;

std::unique_ptr<XInputListener> XInputListener::open(const std::string& displayName) {
    auto impl = std::make_unique<Impl>();
    impl->display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (!impl->display) return nullptr;
    int event = 0, error = 0;
    if (!XQueryExtension(impl->display, "XInputExtension", &impl->opcode, &event, &error)) return nullptr;
    // Announced 2.2: from 2.1 on the server sends raw events to the root window also while
    // another client holds a grab. A client that announces 2.0 gets none then, and every
    // click on a window that takes button events starts an implicit grab, so releases
    // made over other programs' windows would be lost. An older server answers with its own
    // version, and its raw events are taken as they come.
    int major = 2, minor = 2;
    if (XIQueryVersion(impl->display, &major, &minor) != Success) return nullptr;

    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawButtonRelease);
    XIEventMask mask;
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = sizeof bits;
    mask.mask = bits;
    XISelectEvents(impl->display, DefaultRootWindow(impl->display), &mask, 1);
    XSync(impl->display, False);
    return std::unique_ptr<XInputListener>(new XInputListener(std::move(impl)));
}

int XInputListener::fd() const { return ConnectionNumber(impl_->display); }

void XInputListener::sync() { XSync(impl_->display, False); }

int XInputListener::dispatchPending(RecordingInputSink& sink) {
    Display* d = impl_->display;
    int handed = 0;
    while (XPending(d) > 0) {
        XEvent ev;
        XNextEvent(d, &ev);
        XGenericEventCookie* cookie = &ev.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != impl_->opcode) continue;
        if (!XGetEventData(d, cookie)) continue;  // an event that cannot be read is skipped
        const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
        switch (cookie->evtype) {
        case XI_RawKeyPress:
        case XI_RawKeyRelease: {
            const bool down = cookie->evtype == XI_RawKeyPress;
            const auto keycode = static_cast<unsigned>(raw->detail) & 0xFFu;
            Impl::KeyState& state = impl_->keys[keycode];
            if (!down && state == Impl::KeyState::Up) break;
            state = down ? Impl::KeyState::Down : Impl::KeyState::Up;
            sink.keyMessage(impl_->captureIndexOf(keycode), down);
            ++handed;
            break;
        }
        case XI_RawButtonPress:
        case XI_RawButtonRelease: {
            // X buttons: 1 left, 2 middle, 3 right, 4..7 wheel, 8 back, 9 forward.
            const bool down = cookie->evtype == XI_RawButtonPress;
            const int b = raw->detail;
            const MouseButton button = b == 1 ? MouseButton::Left : b == 2 ? MouseButton::Middle
                                     : b == 3 ? MouseButton::Right : b == 8 ? MouseButton::Backward
                                                                            : MouseButton::Forward;
            if (b == 1 || b == 2 || b == 3 || b == 8 || b == 9) {
                sink.mouseButton(button, down);
                ++handed;
            }
            break;
        }
        default: break;
        }
        XFreeEventData(d, cookie);
    }
    return handed;
}

}  // namespace nivra
