// Wires the device link and the transfers to the window.
#include "ui/linked_device.h"

#include "image/builtin.h"
#include "image/codes.h"
#include "image/working_copy.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace nivra::ui {

namespace {
QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
}  // namespace

LinkedDevice::LinkedDevice(HidTransport& transport, Clock& clock, TextLookup texts, BackupStore* backups,
                           std::uint8_t reserveManufacturerId, std::uint8_t reserveProductId)
    : clock_(clock), texts_(std::move(texts)) {
    link_ = std::make_unique<Link>(this);
    discovery_ = std::make_unique<Discovery>(
        transport, clock_, *link_,
        DiscoveryConfig::fromBuiltinImage(builtinImage(1), reserveManufacturerId, reserveProductId), *this);
    state_.systemMemory = discovery_->config().systemMemoryType;
    transfer_ = std::make_unique<Transfer>(*link_, *discovery_, clock_, state_, *this, backups);
    files_ = std::make_unique<ProfileFiles>(*transfer_);
    patch_ = std::make_unique<PatchCodeFiles>(*transfer_);
    notifications_ = std::make_unique<NotificationThread>(*discovery_, *link_, clock_, *this);
    devTimer_.setInterval(static_cast<int>(Discovery::kDevTimerInterval.count()));
    connect(&devTimer_, &QTimer::timeout, this, [this] { discovery_->devTimerTick(); });
    // The waits of the link let the UI process its messages.
    clock_.setPump([] { QCoreApplication::processEvents(); });
}

LinkedDevice::~LinkedDevice() {
    devTimer_.stop();
    discovery_->closeConnection();
    notifications_->stop();
    clock_.setPump({});
}

void LinkedDevice::start() {
    notifications_->start();
    discovery_->StartDevTimer();
}

void LinkedDevice::invalidateHandles() {
    devTimer_.stop();
    discovery_->closeConnection();
    link_->clearHandles();
}

QString LinkedDevice::keyCaption(int profile, int key) const {
    if (profile < 1 || profile > 3 || key < 1 || key > 12) return {};
    Image image{};
    assembleImage(state_.work, image);
    NameInputs in = nameInputsFromImage(image, state_.deviceMemory == MemoryType::None ? state_.systemMemory
                                                                                       : state_.deviceMemory);
    in.language = [this](std::string_view id) { return texts_(qs(id)).toStdString(); };
    const std::string& code = state_.texts.profile[static_cast<std::size_t>(profile - 1)][static_cast<std::size_t>(key - 1)];
    return qs(NameOfCode(code, in).text);
}

// DeviceEvents

void LinkedDevice::ShowIdsRefused() {
    if (view_) view_->showRefusal();
}

void LinkedDevice::ShowMemoryTypeError() {
    if (view_) view_->showMessage(QStringLiteral("Str102"));
}

void LinkedDevice::RefreshErrorAP() {
    // InitNoDevice: built-in image 1 stands in for the mouse.
    transfer_->setBusy(true);
    if (state_.systemMemory == MemoryType::I2C) {
        state_.transfer = builtinImage(1);
        transfer_->distributeTransferBuffer();
    }
    transfer_->DataBufToUI();
    transfer_->setBusy(false);
    transfer_->setNoDevice(true);
    shownProfile_ = 1;
    if (view_) view_->enterNoDevice();
}

void LinkedDevice::DeviceGone() {
    if (view_) view_->hideMenus();
    transfer_->setNoDevice(false);
    RefreshErrorAP();
    state_.led = LedType::None;
    if (view_) view_->deviceGone();
}

void LinkedDevice::DevTimerChanged(bool running) {
    if (running) devTimer_.start();
    else devTimer_.stop();
}

void LinkedDevice::postToUi(std::function<void()> fn) {
    QMetaObject::invokeMethod(this, std::move(fn), Qt::QueuedConnection);
}

// TransferView

void LinkedDevice::showSplash() {
    if (view_) view_->showSplash(true);
}
void LinkedDevice::hideSplash() {
    if (view_) view_->showSplash(false);
}
void LinkedDevice::showCoveringLabels() {
    if (view_) view_->showCovers(true);
}
void LinkedDevice::hideCoveringLabels() {
    if (view_) view_->showCovers(false);
}
void LinkedDevice::reportSaveResult(const FileResult& result) {
    if (result.outcome == FileOutcome::NotRead) showMessage("Str109");
    if (result.outcome == FileOutcome::WriteFailed) showMessage("Str110");
}

void LinkedDevice::showMessage(std::string_view id) {
    if (view_) view_->showMessage(qs(id));
}
void LinkedDevice::showMessageText(std::string_view text) {
    if (view_) view_->showMessageText(qs(text));
}
std::optional<std::string> LinkedDevice::chooseSaveFile(bool confirmOverwrite) {
    if (!view_) return std::nullopt;
    const auto path = view_->chooseSaveFile(confirmOverwrite);
    if (!path) return std::nullopt;
    return path->toStdString();
}
std::optional<std::string> LinkedDevice::chooseOpenFile() {
    if (!view_) return std::nullopt;
    const auto path = view_->chooseOpenFile();
    if (!path) return std::nullopt;
    return path->toStdString();
}
void LinkedDevice::hideOpenMenus() {
    if (view_) view_->hideMenus();
}
void LinkedDevice::openMainModePage() {
    if (view_) view_->openMainModePage();
}
void LinkedDevice::showFirstAndModePage() {
    if (view_) view_->showFirstAndModePage();
}
void LinkedDevice::refreshUI() {
    if (view_) view_->refreshFromImage();
}
void LinkedDevice::showPatchFilePath(std::string_view path) {
    if (view_) view_->showPatchFilePath(qs(path));
}

}  // namespace nivra::ui
