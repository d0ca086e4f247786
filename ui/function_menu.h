// The cascading function menu of the key labels: the panels Pnl_Main, Pnl_Special and their
// sub-panels with the entries Key_..., the arrows ST_..., and the device macro list LB_Name.
// The layout pass gives captions, fonts, colours and widths by objectName; this widget
// stacks the offered entries, places panels inside the host, opens sub-menus on hover and
// reports the chosen entry.
#pragma once

#include "settings/function_menu.h"

#include <QLabel>
#include <QListWidget>
#include <QObject>
#include <QWidget>

#include <map>
#include <vector>

namespace nivra::ui {

class SkinPort;

class FunctionMenu : public QObject {
    Q_OBJECT
public:
    // The panels are children of `host` (the page), hidden until opened.
    FunctionMenu(QWidget* host, const SkinPort& skin);

    // Opens Pnl_Main beside `anchor` (a point of the host) with the entries `offer` allows;
    // `macroNames` fills LB_Name.
    void open(QPoint anchor, const MenuOffer& offer, const QStringList& macroNames);
    bool isOpen() const;
    // A panel or entry by objectName (building the menu when it is not built yet).
    QWidget* panel(const QString& name);
    QLabel* entry(const QString& control);
    QListWidget* macroList() const { return macroList_; }

    // Hover on an entry (KeyByTagMouseEnter / KeyStatusMouseEnter) and leaving it.
    void KeyByTagMouseEnter(const QString& control);
    void KeyByTagMouseLeave(const QString& control);
    // A click on an entry, as the user makes it.
    void clickEntry(const QString& control);

public slots:
    // Closes the menu, every sub-menu and the macro list.
    void HideAllMenu();

signals:
    void leafChosen(int menuId);
    void assemblyChosen();
    void macroChosen(int slotIndex);
    void fireMacroPageChosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Panel {
        QWidget* frame = nullptr;
        std::map<QString, QLabel*> entries;  // by control name
        std::map<QString, QLabel*> arrows;
        std::vector<MenuEntry> offered;
        int depth = 0;
    };
    void build();
    void layoutPanel(Panel& p, const QString& name);
    void place(QWidget* w, QPoint at);
    void openBeside(QWidget* child, QWidget* parentPanel, QLabel* parentEntry);
    void closeFrom(int depth);
    void setHover(QLabel* label, bool on);
    const MenuEntry* offeredEntry(const QString& control, Panel** owner);
    int rowHeight() const;
    void styleMacroList(const QString& entryControl);

    QWidget* host_;
    const SkinPort& skin_;
    std::map<QString, Panel> panels_;
    QListWidget* macroList_ = nullptr;  // built with the panels (build())
    MenuOffer offer_{};
};

}  // namespace nivra::ui
