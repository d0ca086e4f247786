#include "ui/advanced_setup.h"

#include "settings/cpi_model.h"
#include "settings/fire_key_model.h"
#include "settings/mouse_session.h"
#include "settings/pointer_settings.h"
#include "ui/pointer_app_hints.h"

namespace nivra::ui {

AdvancedSetup::AdvancedSetup(MouseSession& session, QObject* parent) : QObject(parent) {
    MouseSession* s = &session;
    // A new report rate takes effect after a restart; the re-find's whole-image read
    // announces the new image to the models.
    cpi_ = new CpiModel(session.editor(), [this, s] {
        if (beforeRestart) beforeRestart();
        s->transfer().restartAndRefind();
        if (afterRestart) afterRestart();
    }, this);
    fire_ = new FireKeyModel(session.editor(), this);
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
