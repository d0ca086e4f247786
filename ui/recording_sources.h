// The sources of recorded keys and mouse buttons on this desktop: the program's own window
// (everywhere, Wayland too, while the window has the focus) and, under X11, the whole
// desktop through XInput2 raw events.
#pragma once

#include "macro/input_source.h"

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace nivra {
class XInputListener;
}

namespace nivra::ui {

// Keys and buttons of this program's windows, as Qt delivers them to a window.
class WindowInputSource final : public QObject, public RecordingInputSource {
public:
    explicit WindowInputSource(QObject* parent = nullptr);
    ~WindowInputSource() override;
    Kind kind() const override { return Kind::Window; }
    bool start(RecordingInputSink& sink) override;
    void stop() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    RecordingInputSink* sink_ = nullptr;
};

// Every key and button of the X11 desktop, whichever window is in front.
class DesktopInputSource final : public QObject, public RecordingInputSource {
public:
    // `display` as XOpenDisplay takes it; "" is $DISPLAY.
    explicit DesktopInputSource(std::string display = {}, QObject* parent = nullptr);
    ~DesktopInputSource() override;
    Kind kind() const override { return Kind::Desktop; }
    bool start(RecordingInputSink& sink) override;
    void stop() override;
    // Reads what the server has sent so far (the socket notifier does this by itself).
    void dispatch();

private:
    std::string display_;
    std::unique_ptr<XInputListener> listener_;
    QSocketNotifier* notifier_ = nullptr;
    RecordingInputSink* sink_ = nullptr;
};

// The source a recording uses here: the desktop one when the program runs on an X11
// server with XInput2, otherwise the window.
std::unique_ptr<RecordingInputSource> makeRecordingInputSource(QObject* parent = nullptr);

}  // namespace nivra::ui
