// The mouse session: the one place that wires link, discovery, transfers, notification
// thread, files, backups and the editor, and turns their events into signals.
#include "settings/mouse_session.h"

#include "device/device_events.h"
#include "device/discovery.h"
#include "device/link.h"
#include "device/notification_thread.h"
#include "device/simulated_mouse.h"
#include "files/backup.h"
#include "files/patch_code.h"
#include "image/builtin.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QTimer>

namespace nivra {

namespace {
QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The texts of the device layer's messages, by their language ids.
QString languageIdOf(TransferMessage m) {
    switch (m) {
    case TransferMessage::ReadIncomplete: return QStringLiteral("Str821");
    case TransferMessage::WriteNotKept: return QStringLiteral("Str822");
    }
    return {};
}
}  // namespace

// What the device layer asks of its owner (DeviceEvents, TransferView), as signals.
class MouseSession::Bridge final : public DeviceEvents, public TransferView {
public:
    explicit Bridge(MouseSession& s) : s_(s) {}

    // DeviceEvents
    void MouseAccepted() override {
        emit s_.connected();
        s_.transfer_->onMouseAccepted();
    }
    void ShowIdsRefused() override {
        ++s_.refusals_;
        emit s_.refused();
    }
    void ShowMemoryTypeError() override { emit s_.message(QStringLiteral("Str102")); }
    void RefreshErrorAP() override { s_.enterNoDevice(); }
    void DeviceGone() override { s_.deviceGone(); }
    void RefreshCurrentDPIStatus(std::uint8_t level) override { emit s_.currentCpiLevelRead(level); }
    void RefreshCurrentProfileStatus(std::uint8_t mode) override { emit s_.modeByteRead(mode); }
    void MousePermissionDenied(const std::string& path) override { emit s_.permissionDenied(qs(path)); }
    void DevTimerChanged(bool running) override {
        if (s_.devTimer_) {
            if (running) s_.devTimer_->start();
            else s_.devTimer_->stop();
        }
    }
    void postToUi(std::function<void()> fn) override {
        // With an event loop the UI thread runs it; without one (nivractl, tests) there is no
        // other thread to hand it to.
        if (QCoreApplication::instance()) QMetaObject::invokeMethod(&s_, std::move(fn), Qt::QueuedConnection);
        else fn();
    }

    // TransferView
    void showSplash() override {
        ++s_.inSplash_;
        emit s_.splash(true);
        --s_.inSplash_;
    }
    void hideSplash() override { emit s_.splash(false); }
    void showCoveringLabels() override { emit s_.covers(true); }
    void hideCoveringLabels() override { emit s_.covers(false); }
    void noMouseOpen() override { emit s_.message(QStringLiteral("Str022")); }
    void showMessageText(std::string_view text) override { emit s_.messageText(qs(text)); }
    void hideOpenMenus() override { emit s_.hideMenusRequested(); }
    void openMainModePage() override { emit s_.mainModePageRequested(); }
    void showFirstAndModePage() override { emit s_.firstAndModePageRequested(); }
    void refreshUI() override {
        // Every replacement of the working copy ends in this refresh.
        s_.editor_->announceImageReplaced();
        emit s_.imageReplaced();
    }
    void deviceMacroAreaChanged() override { emit s_.deviceMacroAreaChanged(); }
    void fireMacroNamesChanged() override { emit s_.fireMacroNamesChanged(); }
    void clearDeviceMacroTexts() override { emit s_.deviceMacroTextsCleared(); }
    void rebuildPcMacroList() override { emit s_.pcMacroListRebuildRequested(); }
    void refreshPointerSettings() override { emit s_.pointerSettingsRefreshRequested(); }
    void showPatchCheck(std::string_view hex4) override { emit s_.patchCheckChanged(qs(hex4)); }
    void setEngineerButtonsEnabled(bool on) override { emit s_.engineerButtonsEnabled(on); }
    void setResultImageVisible(bool on) override { emit s_.resultImageVisible(on); }
    void showPatchFilePath(std::string_view path) override { emit s_.patchFilePathChanged(qs(path)); }
    void busyChanged(bool busy) override { emit s_.busyChanged(busy); }
    // The detail (the sections a write did not keep) is for the callers that read the
    // transfer's result; the window shows the message alone.
    void showMessage(TransferMessage m, std::string_view) override { emit s_.message(languageIdOf(m)); }

private:
    MouseSession& s_;
};

MouseSession::MouseSession(HidTransport& transport, Clock& clock, MouseSessionConfig config, QObject* parent)
    : QObject(parent), transport_(transport), clock_(clock) {
    wire(std::move(config));
}

std::unique_ptr<MouseSession> MouseSession::open(const SessionOptions& options, MouseSessionConfig config,
                                                 std::string* error) {
    SessionOptions o = options;
    if (o.simulate) o.initialMemory = builtinImage(1);
    std::unique_ptr<DeviceSession> device = DeviceSession::open(o, diskFiles(), error);
    if (!device) return nullptr;
    if (config.backupDirectory.empty()) config.backupDirectory = BackupStore::defaultDirectory();
    std::unique_ptr<MouseSession> s(new MouseSession(device->transport(), device->clock(), std::move(config)));
    s->device_ = std::move(device);
    return s;
}

// The backup store as the transfers see it: a backup that could not be written is told (a
// full disk must not pass silently), and the reason kept for nivractl's exit status.
class MouseSession::ReportedBackups final : public BackupSink {
public:
    ReportedBackups(MouseSession& s, BackupStore& store) : s_(s), store_(store) {}
    void beginConnection() override { store_.beginConnection(); }
    bool keep(const Image& image, const BackupIds& ids, std::string* error) override {
        std::string why;
        const bool kept = store_.keep(image, ids, &why);
        {
            const std::lock_guard<std::mutex> hold(s_.backupFailureLock_);
            s_.backupFailure_ = kept ? std::string() : why;
        }
        if (!kept) emit s_.backupFailed(QString::fromStdString(why));
        if (error) *error = why;
        return kept;
    }

private:
    MouseSession& s_;
    BackupStore& store_;
};

std::string MouseSession::backupFailure() const {
    const std::lock_guard<std::mutex> hold(backupFailureLock_);
    return backupFailure_;
}

void MouseSession::wire(MouseSessionConfig config) {
    bridge_ = std::make_unique<Bridge>(*this);
    link_ = std::make_unique<Link>(bridge_.get());
    discovery_ = std::make_unique<Discovery>(
        transport_, clock_, *link_,
        DiscoveryConfig::fromBuiltinImage(builtinImage(1), config.reserveManufacturerId, config.reserveProductId),
        *bridge_);
    state_.systemMemory = discovery_->config().systemMemoryType;
    if (!config.backupDirectory.empty()) {
        backups_ = std::make_unique<BackupStore>(config.backupDirectory);
        reportedBackups_ = std::make_unique<ReportedBackups>(*this, *backups_);
    }
    transfer_ = std::make_unique<Transfer>(*link_, *discovery_, clock_, state_, *bridge_, reportedBackups_.get());
    files_ = std::make_unique<ProfileFiles>(*transfer_);
    patch_ = std::make_unique<PatchCodeFiles>(*transfer_);
    notifications_ = std::make_unique<NotificationThread>(*discovery_, *link_, clock_, *bridge_);
    editor_ = std::make_unique<ImageEditor>(state_, *transfer_);
    connect(editor_.get(), &ImageEditor::bytesChanged, this, &MouseSession::bytesChanged);
    models_ = std::make_unique<EditorModels>(*this, config);
    if (QCoreApplication::instance()) {
        // The presence poll's timer and the waits that keep the UI responsive need the
        // event loop; without one (nivractl, most tests) the poll runs by pollNow().
        devTimer_ = new QTimer(this);
        devTimer_->setInterval(static_cast<int>(Discovery::kDevTimerInterval.count()));
        connect(devTimer_, &QTimer::timeout, this, [this] { discovery_->devTimerTick(); });
        clock_.setPump([this] {
            ++pumping_;
            QCoreApplication::processEvents();
            --pumping_;
        });
        pumpInstalled_ = true;
    }
}

MouseSession::~MouseSession() { close(nullptr); }

bool MouseSession::close(std::string* error) {
    if (closed_) return true;
    closed_ = true;
    if (devTimer_) devTimer_->stop();
    discovery_->closeConnection();
    notifications_->stop();
    if (pumpInstalled_) clock_.setPump({});
    if (!device_) return true;
    return device_->close(error);
}

void MouseSession::start() {
    notifications_->start();
    discovery_->StartDevTimer();
}

void MouseSession::pollNow() { discovery_->devTimerTick(); }

bool MouseSession::pollRunning() const { return discovery_->devTimerRunning(); }

bool MouseSession::findNow() { return discovery_->ReFindDev(); }

void MouseSession::invalidateHandles() {
    if (devTimer_) devTimer_->stop();
    discovery_->closeConnection();
    link_->clearHandles();
}

SimulatedMouse* MouseSession::simulatedMouse() { return device_ ? device_->simulatedMouse() : nullptr; }

bool MouseSession::mouseOpen() const { return transfer_->mouseOpen(); }
bool MouseSession::noDevice() const { return transfer_->noDevice(); }
bool MouseSession::busy() const { return transfer_->busy(); }
bool MouseSession::flowRunning() const { return transfer_->flowRunning(); }
bool MouseSession::acceptsClicks() const { return !transfer_->flowRunning() && pumping_ == 0 && inSplash_ == 0; }

template <typename F>
bool MouseSession::exclusive(F&& flow) {
    if (!acceptsClicks()) return false;
    flow();
    return true;
}

void MouseSession::enterNoDevice() {
    transfer_->InitNoDevice();
    emit noDeviceEntered();
}

void MouseSession::deviceGone() {
    wentAway_ = true;
    emit hideMenusRequested();
    transfer_->setNoDevice(false);
    enterNoDevice();
    state_.led = LedType::None;
    emit gone();
}

bool MouseSession::restartMouse() {
    emit restartStarted();
    const std::size_t reads = transfer_->readRuns();
    transfer_->restartAndRefind();
    // Back means found, accepted and read whole: a read that lost reports is no mouse whose
    // configuration is known.
    const bool cameBack = transfer_->readRuns() > reads && transfer_->lastReadComplete() && transfer_->mouseOpen();
    emit restartFinished(cameBack);
    return cameBack;
}

bool MouseSession::readImage() {
    bool read = false;
    exclusive([&] { read = transfer_->readWholeImage(); });
    return read;
}

void MouseSession::restoreBuiltin(int n) {
    exclusive([&] { transfer_->DefaultParameterConfirm(n); });
}

void MouseSession::restoreDefaults() {
    exclusive([&] { transfer_->restoreDefaults(); });
}

FileResult MouseSession::saveProfile(const ChoosePath& choose) {
    FileResult r{FileOutcome::Busy, {}, "another transfer is running"};
    exclusive([&] {
        r = files_->saveProfile(choose);
        if (r.outcome == FileOutcome::NotRead) emit message(QStringLiteral("Str109"));
        if (r.outcome == FileOutcome::WriteFailed) emit message(QStringLiteral("Str110"));
    });
    return r;
}

FileResult MouseSession::loadProfile(const ChoosePath& choose) {
    FileResult r{FileOutcome::Busy, {}, "another transfer is running"};
    exclusive([&] { r = files_->loadProfile(choose); });
    return r;
}

FileResult MouseSession::exportMacros(const ChoosePath& choose) {
    FileResult r{FileOutcome::Busy, {}, "another transfer is running"};
    exclusive([&] { r = files_->exportDeviceMacros(choose); });
    return r;
}

bool MouseSession::openUpdatePage() {
    bool ok = false;
    exclusive([&] { ok = patch_->openUpdatePage(); });
    return ok;
}

FileResult MouseSession::loadPatch(const ChoosePath& choose) {
    FileResult r{FileOutcome::Busy, {}, "another transfer is running"};
    exclusive([&] { r = patch_->loadPatchFile(choose); });
    if (r.outcome == FileOutcome::WrongSize) emit message(QStringLiteral("Str802"));
    return r;
}

bool MouseSession::patchLoaded() const { return patch_->patchLoaded(); }

bool MouseSession::programPatch() {
    bool ok = false;
    exclusive([&] { ok = patch_->programPatch(); });
    return ok;
}

FileResult MouseSession::patchInOneStep(const ChoosePath& choose) {
    FileResult r{FileOutcome::Busy, {}, "another transfer is running"};
    exclusive([&] { r = patch_->patchInOneStep(choose); });
    if (r.outcome == FileOutcome::WrongSize) emit message(QStringLiteral("Str802"));
    return r;
}

}  // namespace nivra
