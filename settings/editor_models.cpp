// The one composition of the editor models on a session's editor.
#include "settings/editor_models.h"

#include "macro/library.h"
#include "settings/button_model.h"
#include "settings/cpi_model.h"
#include "settings/fire_key_model.h"
#include "settings/fire_macro_model.h"
#include "settings/lighting.h"
#include "settings/macro_model.h"
#include "settings/mouse_session.h"
#include "settings/profile_model.h"

namespace nivra {

EditorModels::EditorModels(MouseSession& session, const ModelConfig& config, QObject* parent)
    : QObject(parent), session_(session), config_(config) {
    if (config_.macroLibraryFile.empty()) config_.macroLibraryFile = macro::libraryFilePath({});
}

EditorModels::~EditorModels() = default;

ButtonModel& EditorModels::buttons() {
    if (!buttons_) {
        buttons_ = std::make_unique<ButtonModel>(session_.editor());
        if (config_.language) buttons_->setLanguage(config_.language);
    }
    return *buttons_;
}

ProfileModel& EditorModels::profiles() {
    if (!profiles_) profiles_ = std::make_unique<ProfileModel>(session_.editor(), buttons());
    return *profiles_;
}

LightingModel& EditorModels::lighting() {
    if (!lighting_) lighting_ = std::make_unique<LightingModel>(session_.editor());
    return *lighting_;
}

GunModel& EditorModels::gun() {
    if (!gun_) {
        gun_ = std::make_unique<GunModel>(session_.editor(), buttons(), profiles(), lighting());
        gun_->setLayout(config_.gunLayout);
    }
    return *gun_;
}

CpiModel& EditorModels::cpi() {
    if (!cpi_) cpi_ = std::make_unique<CpiModel>(session_.editor(), [this] { session_.restartMouse(); });
    return *cpi_;
}

FireKeyModel& EditorModels::fireKeys() {
    if (!fireKeys_) fireKeys_ = std::make_unique<FireKeyModel>(session_.editor());
    return *fireKeys_;
}

MacroModel& EditorModels::macros() {
    if (!macros_) {
        macros_ = std::make_unique<MacroModel>(session_.editor(), session_.transfer(), config_.macroLibraryFile);
        // The device macro listing follows every change of the device macro area copy.
        connect(&session_, &MouseSession::deviceMacroAreaChanged, macros_.get(), &MacroModel::ReadAndRefreshMacro3740);
    }
    return *macros_;
}

FireMacroModel& EditorModels::fireMacros() {
    if (!fireMacros_) fireMacros_ = std::make_unique<FireMacroModel>(session_.editor(), session_.transfer());
    return *fireMacros_;
}

}  // namespace nivra
