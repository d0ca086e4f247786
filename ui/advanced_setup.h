// The models of the Advanced page built on the program's one MouseSession: CPI levels and
// fire keys on its editor, the pointer settings with the desktop backends, and the session's
// notifications they follow.
#pragma once

#include "ui/advanced_page.h"

#include <QObject>

#include <functional>
#include <memory>

namespace nivra {
class MouseSession;
class PointerBackend;
}  // namespace nivra

namespace nivra::ui {

class AdvancedSetup : public QObject {
public:
    AdvancedSetup(MouseSession& session, QObject* parent);
    ~AdvancedSetup() override;

    AdvancedModels models() const { return {cpi_, fire_, pointer_}; }
    CpiModel& cpi() const { return *cpi_; }
    FireKeyModel& fire() const { return *fire_; }
    PointerSettings& pointer() const { return *pointer_; }

    // Around the restart a new report rate needs: the window shows what happens meanwhile.
    std::function<void()> beforeRestart;
    std::function<void()> afterRestart;

private:
    CpiModel* cpi_;
    FireKeyModel* fire_;
    PointerSettings* pointer_;
    std::unique_ptr<PointerBackend> desktop_;  // null where no desktop backend fits
};

}  // namespace nivra::ui
