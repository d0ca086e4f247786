// The rolling caption of a hovered page button.
#include "skin/text_rolling.h"

namespace nivra::skin {

void CaptionRoller::reset(const QString& caption) {
    original_ = caption;
    caption_ = caption;
    counter_ = 1;
}

QString CaptionRoller::tick() {
    if (counter_ == 1) caption_ += QStringLiteral("    ");
    if (!caption_.isEmpty()) caption_ = caption_.mid(1) + caption_.front();
    counter_ = counter_ >= 20 ? 2 : counter_ + 1;
    return caption_;
}

}  // namespace nivra::skin
