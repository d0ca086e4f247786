#include "ui/advanced_setup.h"

#include "settings/cpi_model.h"
#include "settings/fire_key_model.h"
#include "settings/mouse_session.h"
#include "settings/pointer_settings.h"
#include "ui/pointer_app_hints.h"

namespace nivra::ui {

AdvancedSetup::AdvancedSetup(MouseSession& session, QObject* parent) : QObject(parent) {
    MouseSession* s = &session;
    // A new report rate takes effect after the session's restart; the re-find's whole-image
    // read announces the new image to the models.
    cpi_ = &session.models().cpi();
    fire_ = &session.models().fireKeys();
    connect(s, &MouseSession::restartStarted, this, [this] {
        if (beforeRestart) beforeRestart();
    });
    connect(s, &MouseSession::restartFinished, this, [this] {
        if (afterRestart) afterRestart();
    });
    desktop_ = systemPointerBackend();
    pointer_ = new PointerSettings(PointerStore(PointerStore::defaultPath()), desktop_.get(), this);
    pointer_->setFollower(applyPointerHints);

    connect(s, &MouseSession::currentCpiLevelRead, cpi_, &CpiModel::RefreshCurrentDPIStatus);
    connect(s, &MouseSession::pointerSettingsRefreshRequested, pointer_, &PointerSettings::refresh);
    // The pointer settings are read once when the window is created.
    pointer_->refresh();
}

AdvancedSetup::~AdvancedSetup() = default;

}  // namespace nivra::ui
