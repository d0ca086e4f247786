// The one composition root of the configurator: the image state and working copy, the
// link, discovery, presence poll, notification thread, transfers, profile and patch files,
// backups and the one ImageEditor, wired once. The window, nivractl, the test rigs and the
// benchmarks all build this object; its observers learn what happened from its signals.
#pragma once

#include "device/clock.h"
#include "device/hid_transport.h"
#include "device/session.h"
#include "device/transfer.h"
#include "device/transfer_view.h"
#include "files/profile_files.h"
#include "image/code_texts.h"
#include "settings/editor_models.h"
#include "settings/image_editor.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

class QTimer;

namespace nivra {

class BackupStore;
class Discovery;
class Link;
class NotificationThread;
class PatchCodeFiles;
class SimulatedMouse;

using MouseSessionConfig = ModelConfig;

class MouseSession : public QObject {
    Q_OBJECT
public:
    // Over a transport and clock owned by the caller (tests, benchmarks).
    MouseSession(HidTransport& transport, Clock& clock, MouseSessionConfig config = {}, QObject* parent = nullptr);
    // The programs: the transport, clock and trace from the device options (hidapi, or the
    // simulated mouse with its memory file), backups in the user's state folder. Null and a
    // one-line reason when the memory file cannot be read or the trace written.
    static std::unique_ptr<MouseSession> open(const SessionOptions& options, MouseSessionConfig config,
                                              std::string* error);
    ~MouseSession() override;

    // --- Life -----------------------------------------------------------------------------
    // The notification thread and the presence poll start (after the window has entered
    // the no-device state with enterNoDevice()).
    void start();
    // One tick of the presence poll, as its timer runs it every 3500 ms.
    void pollNow();
    bool pollRunning() const;
    // Finds the mouse through the device table at once (the re-find of a restart): true when
    // one was opened; it was read when it passed the identity check.
    bool findNow();
    // The window closes: the poll stops and the handles close (the notification thread
    // stops reading).
    void invalidateHandles();
    // Ends the session: handles closed, thread stopped, the simulated mouse's memory saved
    // back to its file (open() only). False with a message when that save failed.
    bool close(std::string* error = nullptr);

    // --- State ------------------------------------------------------------------------------
    ImageState& state() { return state_; }
    const ImageState& state() const { return state_; }
    ImageEditor& editor() { return *editor_; }
    // The editor models of this session, built with the session's config (each on first use).
    EditorModels& models() { return *models_; }
    Transfer& transfer() { return *transfer_; }
    Discovery& discovery() { return *discovery_; }
    Link& link() { return *link_; }
    Clock& clock() { return clock_; }
    BackupStore* backups() { return backups_.get(); }
    // Why the last backup of a read image could not be written; empty once one was written
    // (or none was tried).
    std::string backupFailure() const;
    NotificationThread& notifications() { return *notifications_; }
    // The simulated mouse when open() made one; nullptr otherwise.
    SimulatedMouse* simulatedMouse();

    bool mouseOpen() const;   // command and reply handles open
    bool noDevice() const;    // the no-device state: page buttons do nothing
    bool busy() const;        // a transfer or a refresh from the image runs
    // A flow runs (a whole-image read, a restore, a file flow).
    bool flowRunning() const;
    // False while a flow runs or while the UI runs from inside a wait or a splash of the
    // device layer: a click handled then (Confirm, Load, Program, Save, a mode button) must
    // do nothing, or a second flow would start inside the first.
    bool acceptsClicks() const;

    // --- Flows (UI thread). Each does nothing while another flow runs. -----------------------
    void enterNoDevice();          // RefreshErrorAP: built-in image 1 stands in for the mouse
    bool readImage();              // the whole-image read
    void restoreBuiltin(int n);    // Confirm1..Confirm3
    void restoreDefaults();        // the engineer page's full default restore
    // Save Profile: "Str109" when the mouse did not hand over its whole configuration,
    // "Str110" when the file could not be written.
    FileResult saveProfile(const ChoosePath& choose);
    FileResult loadProfile(const ChoosePath& choose);
    FileResult exportMacros(const ChoosePath& choose);
    bool openUpdatePage();         // forgets a loaded patch file
    // Load BIN: "Str802" for a file that is not exactly 528 bytes.
    FileResult loadPatch(const ChoosePath& choose);
    bool patchLoaded() const;      // Load BIN took a file since the update page was opened
    bool programPatch();           // Program (nothing without a loaded patch)
    FileResult patchInOneStep(const ChoosePath& choose);  // the engineer page's Load Patch Code

    // The restart a new report rate needs: restartStarted(), the restart and re-find with
    // the whole-image read that brings the new image, restartFinished(). True when the
    // mouse came back and was read whole.
    bool restartMouse();

    // How many times the mouse's IDs were refused since the session began.
    int refusals() const { return refusals_; }
    // The device-gone handling ran since the session began.
    bool wentAway() const { return wentAway_; }

signals:
    // The working copy was replaced (a whole-image read, a restore, the no-device image, a
    // loaded file): every view refreshes from it. The editor's imageReplaced came first.
    void imageReplaced();
    // Bytes of a region of the working copy changed through the editor.
    void bytesChanged(nivra::EditRegion region, std::size_t offset, std::size_t count);
    void busyChanged(bool busy);
    // Around restartMouse().
    void restartStarted();
    void restartFinished(bool cameBack);
    // A mouse passed the identity check; its whole-image read follows.
    void connected();
    // The device-gone handling: the no-device state is in place; covers and "Str100" follow.
    void gone();
    // The no-device state was entered (start, gone, memory-type error): page 1, buttons reset.
    void noDeviceEntered();
    // The mouse's IDs were refused ("Str107", a plain box that blocks until closed).
    void refused();
    // A mouse is present but this user may not open it (`path`, its device node): the
    // presence poll tried when the interface count changed.
    void permissionDenied(const QString& path);
    void message(const QString& languageId);   // a language id ("Str022") for the message dialog
    void messageText(const QString& text);      // a text that is the same in every language
    void splash(bool shown);
    void covers(bool shown);                    // Disable_All_1..5
    void hideMenusRequested();
    void mainModePageRequested();               // before a restore writes
    void firstAndModePageRequested();           // after a whole-image read
    void patchFilePathChanged(const QString& path);  // the patch file chosen by Load BIN
    void patchCheckChanged(const QString& hex4);     // image bytes 1014-1015
    void deviceMacroAreaChanged();
    void fireMacroNamesChanged();
    void deviceMacroTextsCleared();
    void pcMacroListRebuildRequested();
    void pointerSettingsRefreshRequested();
    void engineerButtonsEnabled(bool enabled);
    void resultImageVisible(bool visible);
    void currentCpiLevelRead(std::uint8_t level);   // after a CPI key, from the notification thread
    void modeByteRead(std::uint8_t modeByte);       // after a mode key
    // The image read from the mouse could not be kept as a backup (`detail` names the file
    // and the reason).
    void backupFailed(const QString& detail);

private:
    class Bridge;
    friend class Bridge;
    void wire(MouseSessionConfig config);
    void deviceGone();
    // Runs `flow` unless another flow runs; false (nothing done) when one does.
    template <typename F>
    bool exclusive(F&& flow);

    std::unique_ptr<DeviceSession> device_;   // open() only
    HidTransport& transport_;
    Clock& clock_;
    ImageState state_;
    std::unique_ptr<Bridge> bridge_;
    std::unique_ptr<Link> link_;
    std::unique_ptr<Discovery> discovery_;
    std::unique_ptr<BackupStore> backups_;
    class ReportedBackups;
    std::unique_ptr<ReportedBackups> reportedBackups_;   // backups_ with its failures told
    mutable std::mutex backupFailureLock_;
    std::string backupFailure_;
    std::unique_ptr<Transfer> transfer_;
    std::unique_ptr<ProfileFiles> files_;
    std::unique_ptr<PatchCodeFiles> patch_;
    std::unique_ptr<NotificationThread> notifications_;
    std::unique_ptr<ImageEditor> editor_;
    std::unique_ptr<EditorModels> models_;
    QTimer* devTimer_ = nullptr;
    bool pumpInstalled_ = false;
    int pumping_ = 0;     // depth of event processing from inside a wait of the clock
    int inSplash_ = 0;    // depth of splash notifications (the window repaints in them)
    bool closed_ = false;
    int refusals_ = 0;
    bool wentAway_ = false;
};

}  // namespace nivra
