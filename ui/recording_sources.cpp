// Recording sources: Qt's key and mouse events of our windows, and XInput2 under X11.
#include "ui/recording_sources.h"

#include "macro/key_events.h"
#include "xinput/xinput_source.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSocketNotifier>
#include <QWindow>

namespace nivra::ui {

namespace {

std::optional<MouseButton> buttonOf(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton: return MouseButton::Left;
    case Qt::RightButton: return MouseButton::Right;
    case Qt::MiddleButton: return MouseButton::Middle;
    case Qt::BackButton: return MouseButton::Backward;
    case Qt::ForwardButton: return MouseButton::Forward;
    default: return std::nullopt;
    }
}

}  // namespace

WindowInputSource::WindowInputSource(QObject* parent) : QObject(parent) {}
WindowInputSource::~WindowInputSource() { stop(); }

bool WindowInputSource::start(RecordingInputSink& sink) {
    stop();
    sink_ = &sink;
    QCoreApplication::instance()->installEventFilter(this);
    return true;
}

void WindowInputSource::stop() {
    if (!sink_) return;
    QCoreApplication::instance()->removeEventFilter(this);
    sink_ = nullptr;
}

// Only events whose receiver is a window: Qt hands each key and button to the window
// first and then to its widgets, so each one is seen once here.
bool WindowInputSource::eventFilter(QObject* watched, QEvent* event) {
    if (!sink_ || !qobject_cast<QWindow*>(watched)) return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool down = event->type() == QEvent::KeyPress;
        // Auto-repeat comes as release and press pairs: the presses are repeated key-downs,
        // the releases in between are not real.
        if (!down && key->isAutoRepeat()) break;
        KeyEventIdentity id;
        id.qtKey = key->key();
        id.keypad = key->modifiers().testFlag(Qt::KeypadModifier);
        id.keysym = key->nativeVirtualKey();
        id.scanCode = key->nativeScanCode();
        sink_->keyMessage(captureIndexForKeyEvent(id), down);
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (const auto b = buttonOf(mouse->button())) sink_->mouseButton(*b, event->type() != QEvent::MouseButtonRelease);
        break;
    }
    default: break;
    }
    return false;
}

DesktopInputSource::DesktopInputSource(std::string display, QObject* parent)
    : QObject(parent), display_(std::move(display)) {}
DesktopInputSource::~DesktopInputSource() { stop(); }

bool DesktopInputSource::start(RecordingInputSink& sink) {
    stop();
    listener_ = XInputListener::open(display_);
    if (!listener_) return false;
    sink_ = &sink;
    notifier_ = new QSocketNotifier(static_cast<qintptr>(listener_->fd()), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &DesktopInputSource::dispatch);
    dispatch();
    return true;
}

void DesktopInputSource::stop() {
    delete notifier_;
    notifier_ = nullptr;
    listener_.reset();
    sink_ = nullptr;
}

void DesktopInputSource::dispatch() {
    if (listener_ && sink_) listener_->dispatchPending(*sink_);
}

std::unique_ptr<RecordingInputSource> makeRecordingInputSource(QObject* parent) {
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        // Opened once to see that the server has XInput2; each recording opens its own.
        if (XInputListener::open()) return std::make_unique<DesktopInputSource>(std::string{}, parent);
    }
    return std::make_unique<WindowInputSource>(parent);
}

}  // namespace nivra::ui
