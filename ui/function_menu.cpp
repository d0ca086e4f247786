// The cascading function menu.
#include "ui/function_menu.h"

#include "settings/button_model.h"
#include "ui/skin_button.h"
#include "ui/skin_port.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>

namespace nivra::ui {

namespace {
QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
constexpr int kDefaultWidth = 150;  // panels without a width key in the layout table
constexpr int kArrowWidth = 22;

int depthOf(std::string_view panel) {
    if (panel == "Pnl_Main") return 0;
    if (panel == "Pnl_Special" || panel == "Pnl_MseKey" || panel == "Pnl_Media" || panel == "Pnl_WWW" ||
        panel == "Pnl_MyPC")
        return 1;
    return 2;
}
}  // namespace

FunctionMenu::FunctionMenu(QWidget* host, const SkinPort& skin) : QObject(host), host_(host), skin_(skin) {}

// The panels are built when the menu is first needed, and take the skin of the layout pass
// in effect, as they would have taken it had they been there when the pass ran.
void FunctionMenu::build() {
    if (macroList_) return;
    for (const MenuPanelDef& def : functionMenuPanels()) {
        Panel p;
        p.depth = depthOf(def.name);
        p.frame = new QWidget(host_);
        p.frame->setObjectName(qs(def.name));
        p.frame->setAttribute(Qt::WA_StyledBackground);
        p.frame->resize(kDefaultWidth, 10);
        p.frame->hide();
        for (const MenuEntry& e : def.entries) {
            auto* l = new QLabel(p.frame);
            l->setObjectName(qs(e.control));
            l->setAttribute(Qt::WA_Hover);
            l->installEventFilter(this);
            p.entries[qs(e.control)] = l;
            if (e.action == MenuAction::SubMenu || e.action == MenuAction::MacroList) {
                auto* arrow = new QLabel(QStringLiteral(">>"), l);
                const QString stem = qs(e.control).mid(4);
                arrow->setObjectName(QStringLiteral("ST_") + stem);
                arrow->setAttribute(Qt::WA_TransparentForMouseEvents);
                p.arrows[qs(e.control)] = arrow;
            }
        }
        panels_[qs(def.name)] = p;
    }
    macroList_ = new QListWidget(host_);
    macroList_->setObjectName(QStringLiteral("LB_Name"));
    macroList_->setAutoFillBackground(true);
    macroList_->setFrameShape(QFrame::NoFrame);
    macroList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    macroList_->setFocusPolicy(Qt::NoFocus);
    macroList_->setMouseTracking(true);
    macroList_->hide();
    connect(macroList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int slot = macroList_->row(item);
        HideAllMenu();
        emit macroChosen(slot);
    });
    for (const auto& [name, p] : panels_) applyLayout(WidgetIndex(p.frame), skin_.layout(), skin_);
    applyLayout(WidgetIndex(macroList_), skin_.layout(), skin_);
}

QWidget* FunctionMenu::panel(const QString& name) {
    build();
    auto it = panels_.find(name);
    return it == panels_.end() ? nullptr : it->second.frame;
}

QLabel* FunctionMenu::entry(const QString& control) {
    build();
    for (const auto& [name, p] : panels_)
        if (auto it = p.entries.find(control); it != p.entries.end()) return it->second;
    return nullptr;
}

bool FunctionMenu::isOpen() const {
    const auto it = panels_.find(QStringLiteral("Pnl_Main"));
    return it != panels_.end() && it->second.frame->isVisible();
}

int FunctionMenu::rowHeight() const {
    const QLabel* any = panels_.at(QStringLiteral("Pnl_Main")).entries.begin()->second;
    return QFontMetrics(any->font()).height() + 8;
}

void FunctionMenu::layoutPanel(Panel& p, const QString& name) {
    p.offered = offeredEntries(name.toStdString(), offer_);
    const int row = rowHeight();
    // The layout pass gave the panel its width; the entries fill it.
    const int width = std::max(p.frame->width(), 60);
    for (auto& [control, label] : p.entries) label->hide();
    int y = 2;
    for (const MenuEntry& e : p.offered) {
        QLabel* l = p.entries.at(qs(e.control));
        cancelFitToText(l);  // the entry fills the panel's width
        l->setGeometry(2, y, width - 4, row);
        setHover(l, false);
        l->show();
        if (auto a = p.arrows.find(qs(e.control)); a != p.arrows.end())
            a->second->setGeometry(width - 4 - kArrowWidth, 0, kArrowWidth, row);
        y += row;
    }
    p.frame->resize(width, y + 2);
    // The panel's back and border colours from the layout table.
    const auto& layout = skin_.layout();
    if (auto it = layout.find(name); it != layout.end()) {
        const ControlSkin& c = it->second;
        const QString back = c.backColour ? skin::toQColor(*c.backColour).name() : QStringLiteral("#202020");
        const QString border = c.borderColour ? skin::toQColor(*c.borderColour).name() : back;
        p.frame->setStyleSheet(QStringLiteral("#%1 { background-color: %2; border: 1px solid %3; }").arg(name, back, border));
    }
}

void FunctionMenu::place(QWidget* w, QPoint at) {
    // Inside the host: moved left or up where the panel would stick out.
    const QSize host = host_->size();
    int x = std::clamp(at.x(), 0, std::max(0, host.width() - w->width()));
    int y = std::clamp(at.y(), 0, std::max(0, host.height() - w->height()));
    w->move(x, y);
}

void FunctionMenu::open(QPoint anchor, const MenuOffer& offer, const QStringList& macroNames) {
    build();
    HideAllMenu();
    offer_ = offer;
    macroList_->clear();
    // The names carry the marker the other entries' captions begin with.
    const QString marker = skin_.text(QStringLiteral("Str200"));
    for (const QString& name : macroNames)
        macroList_->addItem(marker.isEmpty() ? name : QLatin1Char(' ') + marker + QLatin1Char(' ') + name);
    Panel& main = panels_.at(QStringLiteral("Pnl_Main"));
    layoutPanel(main, QStringLiteral("Pnl_Main"));
    // Beside the label's centre, on the side where the menu fits.
    QPoint at = anchor;
    const bool left = at.x() + main.frame->width() > host_->width();
    if (left) at.rx() -= main.frame->width();
    main.frame->setProperty("opensLeft", left);
    place(main.frame, at);
    main.frame->show();
    main.frame->raise();
}

void FunctionMenu::openBeside(QWidget* child, QWidget* parentPanel, QLabel* parentEntry) {
    const QPoint entryTop = parentPanel->mapTo(host_, parentEntry->pos());
    // A sub-menu opens to the right of its parent entry; with no room there (or when its
    // parent already had to open to the left) it opens at the parent's left edge, so that
    // the cascade never covers the menus it came from.
    const bool leftward = parentPanel->property("opensLeft").toBool();
    const int right = parentPanel->x() + parentPanel->width();
    const int left = parentPanel->x() - child->width();
    const bool goLeft = (leftward && left >= 0) || right + child->width() > host_->width();
    QPoint at(goLeft ? left : right, entryTop.y());
    child->setProperty("opensLeft", goLeft);
    place(child, at);
    child->show();
    child->raise();
}

void FunctionMenu::closeFrom(int depth) {
    for (auto& [name, p] : panels_)
        if (p.depth >= depth) p.frame->hide();
    if (depth <= 1 && macroList_) macroList_->hide();
}

void FunctionMenu::HideAllMenu() { closeFrom(0); }

const MenuEntry* FunctionMenu::offeredEntry(const QString& control, Panel** owner) {
    for (auto& [name, p] : panels_) {
        if (!p.frame->isVisible()) continue;
        for (const MenuEntry& e : p.offered)
            if (qs(e.control) == control) {
                *owner = &p;
                return &e;
            }
    }
    return nullptr;
}

void FunctionMenu::setHover(QLabel* label, bool on) {
    const auto& layout = skin_.layout();
    auto it = layout.find(label->objectName());
    if (it == layout.end()) {
        label->setAutoFillBackground(false);
        return;
    }
    const ControlSkin& c = it->second;
    QPalette pal = label->palette();
    if (on) {
        if (c.hoverTextColour) pal.setColor(QPalette::WindowText, skin::toQColor(*c.hoverTextColour));
        if (c.hoverBackColour) pal.setColor(QPalette::Window, skin::toQColor(*c.hoverBackColour));
    } else if (c.textColour) {
        pal.setColor(QPalette::WindowText, skin::toQColor(*c.textColour));
    }
    label->setPalette(pal);
    label->setAutoFillBackground(on);
    for (QLabel* arrow : label->findChildren<QLabel*>()) arrow->setPalette(pal);
}

void FunctionMenu::KeyByTagMouseEnter(const QString& control) {
    Panel* owner = nullptr;
    const MenuEntry* e = offeredEntry(control, &owner);
    if (!e) return;
    QLabel* label = owner->entries.at(control);
    setHover(label, true);
    // Siblings' sub-menus close; a sub-menu entry opens its own.
    closeFrom(owner->depth + 1);
    if (e->action == MenuAction::SubMenu) {
        Panel& child = panels_.at(qs(e->opens));
        layoutPanel(child, qs(e->opens));
        openBeside(child.frame, owner->frame, label);
    } else if (e->action == MenuAction::MacroList && macroList_->count() > 0) {
        styleMacroList(control);
        const int row = rowHeight();
        macroList_->resize(owner->frame->width(), std::min(macroList_->count(), 15) * row + 6);
        openBeside(macroList_, owner->frame, label);
    }
}

// The Base Macro list is drawn as a sub-menu: the panels' back and border, rows as tall as
// the entries, the entries' text colour and their hover colours on the row under the pointer.
void FunctionMenu::styleMacroList(const QString& entryControl) {
    const auto& layout = skin_.layout();
    const auto colourOf = [&layout](const QString& control, auto member, const QString& fallback) {
        const auto it = layout.find(control);
        if (it == layout.end() || !(it->second.*member)) return fallback;
        return skin::toQColor(*(it->second.*member)).name();
    };
    const QString list = QStringLiteral("LB_Name");
    const QString back = colourOf(list, &ControlSkin::backColour, QStringLiteral("#202020"));
    const QString border = colourOf(list, &ControlSkin::borderColour, back);
    const QString text = colourOf(entryControl, &ControlSkin::textColour, QStringLiteral("#ffffff"));
    const QString hoverText = colourOf(entryControl, &ControlSkin::hoverTextColour, text);
    const QString hoverBack = colourOf(entryControl, &ControlSkin::hoverBackColour, back);
    const QString sheet =
        QStringLiteral("QListWidget#LB_Name { background-color: %1; border: 1px solid %2; padding: 2px; outline: 0; }"
                       "QListWidget#LB_Name::item { height: %3px; color: %4; background: transparent; border: 0;"
                       " padding: 0; }"
                       "QListWidget#LB_Name::item:hover, QListWidget#LB_Name::item:selected"
                       " { color: %5; background-color: %6; }")
            .arg(back, border)
            .arg(rowHeight())
            .arg(text, hoverText, hoverBack);
    if (macroList_->styleSheet() != sheet) macroList_->setStyleSheet(sheet);
}

void FunctionMenu::KeyByTagMouseLeave(const QString& control) {
    if (QLabel* l = entry(control)) setHover(l, false);
}

void FunctionMenu::clickEntry(const QString& control) {
    Panel* owner = nullptr;
    const MenuEntry* e = offeredEntry(control, &owner);
    if (!e) return;
    switch (e->action) {
        case MenuAction::Leaf: {
            const int id = e->menuId;
            HideAllMenu();
            emit leafChosen(id);
            break;
        }
        case MenuAction::Assembly:
            HideAllMenu();
            emit assemblyChosen();
            break;
        case MenuAction::FireMacroPage:
            HideAllMenu();
            emit fireMacroPageChosen();
            break;
        case MenuAction::SubMenu:
        case MenuAction::MacroList: KeyByTagMouseEnter(control); break;
        case MenuAction::GunKeyList: break;  // the engineer page's
    }
}

bool FunctionMenu::eventFilter(QObject* watched, QEvent* event) {
    auto* label = qobject_cast<QLabel*>(watched);
    if (!label) return false;
    switch (event->type()) {
        case QEvent::Enter: KeyByTagMouseEnter(label->objectName()); break;
        case QEvent::Leave: KeyByTagMouseLeave(label->objectName()); break;
        case QEvent::MouseButtonPress: return true;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) clickEntry(label->objectName());
            return true;
        default: break;
    }
    return false;
}

}  // namespace nivra::ui
