// The editor models of one mouse session, built in one place: the window and every nivractl
// command take them from MouseSession::models(). Each model is built on first use and
// derives its state from the working copy when built and after every replacement of the
// image.
#pragma once

#include "image/codes.h"
#include "settings/gun_model.h"

#include <QObject>

#include <cstdint>
#include <filesystem>
#include <memory>

namespace nivra {

class ButtonModel;
class CpiModel;
class FireKeyModel;
class FireMacroModel;
class LightingModel;
class MacroModel;
class MouseSession;
class ProfileModel;

// What a session and its models are built with: the layout keys and the program's folders.
struct ModelConfig {
    // Layout keys Rev_Manu_ID / Rev_Pro_ID: a second ID pair the identity check accepts.
    std::uint8_t reserveManufacturerId = 0;
    std::uint8_t reserveProductId = 0;
    // Folder of the backups of each connection's image; empty: no backups kept.
    std::filesystem::path backupDirectory;
    // The PC macro library file; empty: the library in the program's data folder.
    std::filesystem::path macroLibraryFile;
    // Layout keys Gun6_Num / Gun7_Num.
    GunLayout gunLayout;
    // The texts of key and function names (language id -> text); empty: English.
    LanguageLookup language;
};

class EditorModels : public QObject {
    Q_OBJECT
public:
    EditorModels(MouseSession& session, const ModelConfig& config, QObject* parent = nullptr);
    ~EditorModels() override;

    ButtonModel& buttons();
    ProfileModel& profiles();
    LightingModel& lighting();
    GunModel& gun();
    // The report rate's restart runs through MouseSession::restartMouse().
    CpiModel& cpi();
    FireKeyModel& fireKeys();
    MacroModel& macros();
    FireMacroModel& fireMacros();

private:
    MouseSession& session_;
    ModelConfig config_;
    std::unique_ptr<ButtonModel> buttons_;
    std::unique_ptr<ProfileModel> profiles_;
    std::unique_ptr<LightingModel> lighting_;
    std::unique_ptr<GunModel> gun_;
    std::unique_ptr<CpiModel> cpi_;
    std::unique_ptr<FireKeyModel> fireKeys_;
    std::unique_ptr<MacroModel> macros_;
    std::unique_ptr<FireMacroModel> fireMacros_;
};

}  // namespace nivra
