// A recessed group box drawn like the boxes of the panel pictures, for a group of controls
// that is shown only at times: the box goes with its group, so nothing of it is left on the
// panel while the group is hidden.
#pragma once

#include <QWidget>

namespace nivra::ui {

class PanelBox : public QWidget {
public:
    // Clicks and double-clicks pass through to the page below (its background takes them).
    explicit PanelBox(QWidget* parent);
    // Places the box around `content` (in the parent's coordinates), with room for the
    // accent tab above its top edge.
    void frame(const QRect& content);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace nivra::ui
