// The Macro page.
#include "ui/macro_page.h"

#include "macro/key_events.h"
#include "image/keys.h"
#include "macro/library.h"
#include "macro/listing.h"
#include "settings/macro_model.h"
#include "ui/number_edits.h"
#include "ui/skin_port.h"
#include "ui/small_dialog.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace nivra::ui {

namespace {

using macro::DelayMode;

QString qs(const std::string& s) { return QString::fromStdString(s); }

constexpr int kTextLeft = 35;  // listing text starts this far from the row's left edge
constexpr int kLineRole = Qt::UserRole + 1;

// Draws the rows: for listings the line icon scaled to the row height and the line's text at
// 35 pixels; for name lists the name.
class RowDelegate : public QStyledItemDelegate {
public:
    RowDelegate(MacroList* list, bool lineIcons) : QStyledItemDelegate(list), list_(list), icons_(lineIcons) {}

    QSize sizeHint(const QStyleOptionViewItem& o, const QModelIndex& i) const override {
        return {QStyledItemDelegate::sizeHint(o, i).width(), list_->rowHeight()};
    }

    void paint(QPainter* p, const QStyleOptionViewItem& o, const QModelIndex& i) const override {
        p->save();
        const bool selected = o.state & QStyle::State_Selected;
        const QPalette& pal = list_->palette();
        if (selected) p->fillRect(o.rect, QColor(1, 83, 133));
        const QString text = i.data(Qt::DisplayRole).toString();
        QRect textRect = o.rect.adjusted(4, 0, 0, 0);
        if (icons_) {
            const std::string line = i.data(kLineRole).toString().toStdString();
            const int side = o.rect.height();
            p->setRenderHint(QPainter::SmoothPixmapTransform);
            p->drawPixmap(QRect(o.rect.left(), o.rect.top(), side, side), lineIcon(macro::lineKind(line)));
            textRect = o.rect.adjusted(kTextLeft, 0, 0, 0);
        }
        p->setPen(selected ? QColor(Qt::white) : pal.color(QPalette::Text));
        p->setFont(list_->font());
        p->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, text);
        p->restore();
    }

private:
    MacroList* list_;
    bool icons_;
};

// Turns key presses in the key dialog's edit into the name of the key's capture row.
class KeyCapture : public QObject {
public:
    KeyCapture(QLineEdit* edit, std::uint8_t& usage) : QObject(edit), edit_(edit), usage_(usage) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        auto* k = static_cast<QKeyEvent*>(e);
        KeyEventIdentity id;
        id.qtKey = k->key();
        id.keypad = k->modifiers() & Qt::KeypadModifier;
        id.keysym = k->nativeVirtualKey();
        id.scanCode = k->nativeScanCode();
        const std::size_t row = captureIndexForKeyEvent(id);
        if (row != capture::kNone && row != capture::k255) {
            const CaptureRow& r = captureRow(row);
            usage_ = r.usage;
            edit_->setText(QString::fromUtf8(r.name.data(), static_cast<qsizetype>(r.name.size())));
        }
        return true;
    }

private:
    QLineEdit* edit_;
    std::uint8_t& usage_;
};

void setDot(QLabel* dot, const SkinPort& skin, bool chosen) {
    setSkinPicture(dot, skin, chosen ? QStringLiteral("RdS_E") : QStringLiteral("RdS_D"));
}

}  // namespace

void clampWhileTyping(QLineEdit* edit, std::string (*rule)(std::string_view)) {
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, rule](const QString& t) {
        if (t.isEmpty() || t == QLatin1String("-")) return;
        const QString ruled = qs(rule(t.toStdString()));
        if (ruled != t && (ruled.toLongLong() < t.toLongLong() || t.startsWith(QLatin1Char('-')))) edit->setText(ruled);
    });
}

QFrame* popupPanel(QWidget* parent, const QString& name,
                   const std::vector<std::pair<const char*, std::function<void()>>>& entries) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::Box);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, QColor(0, 0, 0));
    pal.setColor(QPalette::WindowText, QColor(255, 255, 0));
    panel->setPalette(pal);
    constexpr int kWidth = 140, kHeight = 26;
    int y = 1;
    for (const auto& [entryName, action] : entries) {
        auto* entry = new ClickLabel(panel);
        entry->setObjectName(QLatin1String(entryName));
        entry->setGeometry(1, y, kWidth, kHeight);
        entry->setIndent(10);
        entry->setAutoFillBackground(true);
        entry->onClick = action;
        y += kHeight;
    }
    panel->resize(kWidth + 2, y + 1);
    panel->hide();
    return panel;
}

// ------------------------------------------------------------------ line icons

QPixmap lineIcon(char kind) {
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor accent(0, 174, 239), press(98, 200, 90), release(235, 120, 60), move(200, 160, 255);
    p.setPen(QPen(accent, 1.6));
    switch (kind) {
    case '0': {  // delay: a clock
        p.drawEllipse(QRectF(2.5, 2.5, 15, 15));
        p.drawLine(QPointF(10, 10), QPointF(10, 5));
        p.drawLine(QPointF(10, 10), QPointF(14, 12));
        break;
    }
    case '1':
    case '2': {  // press (arrow down onto a key) or release (arrow up from it)
        const QColor c = kind == '1' ? press : release;
        p.setPen(QPen(c, 1.6));
        p.drawRoundedRect(QRectF(3, 12, 14, 6), 1.5, 1.5);
        QPainterPath arrow;
        if (kind == '1') {
            arrow.moveTo(10, 10);
            arrow.lineTo(6, 5);
            arrow.lineTo(14, 5);
        } else {
            arrow.moveTo(10, 2);
            arrow.lineTo(6, 7);
            arrow.lineTo(14, 7);
        }
        arrow.closeSubpath();
        p.fillPath(arrow, c);
        break;
    }
    case '3': {  // pointer move: a cross of arrows
        p.setPen(QPen(move, 1.6));
        p.drawLine(QPointF(10, 2), QPointF(10, 18));
        p.drawLine(QPointF(2, 10), QPointF(18, 10));
        for (QPointF tip : {QPointF(10, 2), QPointF(10, 18), QPointF(2, 10), QPointF(18, 10)}) p.drawEllipse(tip, 1.2, 1.2);
        break;
    }
    case '7':
    case '8': {  // loop start / end: a circular arrow, open or closed
        p.drawArc(QRectF(3, 3, 14, 14), kind == '7' ? 60 * 16 : 0, 300 * 16);
        QPainterPath head;
        head.moveTo(14, 1);
        head.lineTo(18, 5);
        head.lineTo(13, 7);
        head.closeSubpath();
        p.fillPath(head, accent);
        if (kind == '8') p.fillRect(QRectF(8, 8, 4, 4), accent);
        break;
    }
    default: break;
    }
    return pm;
}

// ------------------------------------------------------------------ MacroList

MacroList::MacroList(const QString& name, bool lineIcons, QWidget* parent) : QListWidget(parent) {
    setObjectName(name);
    setItemDelegate(new RowDelegate(this, lineIcons));
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void MacroList::setRowHeight(int h) {
    rowHeight_ = h > 0 ? h : 20;
    doItemsLayout();
}

void MacroList::mousePressEvent(QMouseEvent* e) {
    QListWidgetItem* item = itemAt(e->position().toPoint());
    if (!item) {
        clearSelection();
        setCurrentRow(-1);
        if (onRowPressed) onRowPressed(-1);
        e->accept();
        return;
    }
    // Either button selects the row under the pointer, as a left click would.
    setCurrentItem(item);
    if (onRowPressed) onRowPressed(row(item));
    e->accept();
}

void MacroList::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::RightButton) {
        QListWidgetItem* item = itemAt(e->position().toPoint());
        if (item && item->isSelected() && onRightReleased) onRightReleased(e->globalPosition().toPoint());
    }
    e->accept();
}

// ------------------------------------------------------------------ the page

MacroPage::MacroPage(const SkinPort& skin, QWidget* parent, MacroModel* model) : SkinPage(4, skin, parent) {
    addPanel();
    pcList_ = new MacroList(QStringLiteral("LB_PCMacroName"), false, this);
    devList_ = new MacroList(QStringLiteral("LB_MacroName"), false, this);
    content_ = new MacroList(QStringLiteral("LB_macro"), true, this);
    newButton_ = addButton(QStringLiteral("Btn_New"), ButtonKind::F);
    startButton_ = addButton(QStringLiteral("Btn_Start"), ButtonKind::F);

    // The delay-mode group: its controls sit at window positions, so the group is a marker
    // and the page shows or hides its members.
    delay_ = new QWidget(this);
    delay_->setObjectName(QStringLiteral("Gb_Delay"));
    delay_->resize(0, 0);
    insert_ = new QWidget(this);
    insert_->setObjectName(QStringLiteral("Gb_Insert"));
    insert_->resize(0, 0);
    insert_->hide();
    insertBase_ = addLabel(QStringLiteral("Img_InsertBase"));
    insertBase_->hide();
    insertGroup_.push_back(insertBase_);

    const auto delayRows = [this](const QString& infix, std::vector<QWidget*>& group, bool insert) {
        const char* rows[] = {"RecDelay", "DelayTime", "NoDelay"};
        for (int j = 0; j < 3; ++j) {
            group.push_back(addLabel(QStringLiteral("Img_") + infix + QLatin1String(rows[j])));
            auto* label = new ClickLabel(this);
            label->setObjectName(QStringLiteral("IB_") + infix + QLatin1String(rows[j]));
            label->onClick = [this, j, insert] { chooseDelay(j, insert); };
            label->resize(170, insert ? 24 : 28);  // the row height of the layout table
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            // The caption's leading blanks leave room for the dot; narrow CJK blanks need a little more.
            label->setContentsMargins(8, 0, 0, 0);
            group.push_back(label);
        }
    };
    delayRows(QString(), delayGroup_, false);
    delayEdit_ = new TIntEdit(this);
    delayEdit_->setObjectName(QStringLiteral("Edt_Delay"));
    delayEdit_->setText(QStringLiteral("50"));
    clampWhileTyping(delayEdit_, macro::ruleDelayText);
    connect(delayEdit_, &QLineEdit::editingFinished, this, [this] {
        if (model_) model_->setDelayText(delayEdit_->text().toStdString());
    });
    delayGroup_.push_back(delayEdit_);

    insertChoice_ = new QComboBox(this);
    insertChoice_->setObjectName(QStringLiteral("CB_Insert"));
    connect(insertChoice_, &QComboBox::activated, this, [this](int i) { CB_InsertChange(i); });
    insertGroup_.push_back(insertChoice_);
    delayRows(QStringLiteral("Insert"), insertGroup_, true);
    const auto edit = [this](const char* name, QLineEdit* e, const QString& text) {
        e->setObjectName(QLatin1String(name));
        e->setText(text);
        e->setAlignment(Qt::AlignCenter);
        insertGroup_.push_back(e);
        return e;
    };
    insertDelayEdit_ = edit("Edt_InsertDelay", new TIntEdit(this), QStringLiteral("50"));
    clampWhileTyping(insertDelayEdit_, macro::ruleDelayText);
    xEdit_ = edit("edt_XAxisValue", new TSPITEdit(this), QStringLiteral("12"));
    yEdit_ = edit("edt_YAxisValue", new TSPITEdit(this), QStringLiteral("12"));
    for (QLineEdit* e : {xEdit_, yEdit_}) {
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*")), e));
        clampWhileTyping(e, macro::ruleAxisText);
    }
    repeatEdit_ = edit("edt_Repeat", new TIntEdit(this), QStringLiteral("10"));
    clampWhileTyping(repeatEdit_, macro::ruleRepeatText);
    // The layout table places these by their top left corner; their sizes are ours.
    for (const char* name : {"lbl_Delay", "lbl_s_A", "lbl_XAxisValue", "lbl_YAxisValue", "lbl_Repeat"}) {
        QLabel* l = addLabel(QLatin1String(name));
        l->resize(72, 20);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        insertGroup_.push_back(l);
    }
    for (QLineEdit* e : {insertDelayEdit_, xEdit_, yEdit_, repeatEdit_}) e->resize(42, 22);
    delayEdit_->resize(60, 22);
    SkinButton* insertStart = insertStartButton_ = addButton(QStringLiteral("Btn_InsertStart"), ButtonKind::F);
    okButton_ = addButton(QStringLiteral("Btn_OK"), ButtonKind::G);
    cancelButton_ = addButton(QStringLiteral("Btn_Cancel"), ButtonKind::G);
    for (SkinButton* b : {insertStart, okButton_, cancelButton_}) {
        insertGroup_.push_back(b->picture());
        insertGroup_.push_back(b->label());
    }
    okButton_->onClick = [this] { Btn_OKClick(); };
    cancelButton_->onClick = [this] { Btn_CancelClick(); };
    newButton_->onClick = [this] { Btn_NewClick(); };
    for (QWidget* w : insertGroup_) w->hide();

    pcPopup_ = addPopup(QStringLiteral("Pnl_PCMacro"), {{"Btn_NewMacro", &MacroPage::Btn_NewClick},
                                                        {"Btn_NewName", &MacroPage::Btn_NewNameClick},
                                                        {"Btn_DelPCMacro", &MacroPage::Btn_DelPCMacroClick},
                                                        {"Btn_ImportOne", &MacroPage::Btn_ImportOneClick},
                                                        {"Btn_Import", &MacroPage::Btn_ImportClick},
                                                        {"Btn_ExportOne", &MacroPage::Btn_ExportOneClick},
                                                        {"Btn_Export", &MacroPage::Btn_ExportClick},
                                                        {"Btn_AddMacro", &MacroPage::Btn_AddMacroClick}});
    devPopup_ = addPopup(QStringLiteral("Pnl_DevMacro"), {{"Btn_DelMacro", &MacroPage::Btn_DelMacroClick},
                                                          {"Btn_DevExport", &MacroPage::Btn_DevExportClick}});
    // "Export All" of the device macros is not offered in this menu.
    devPopup_->findChild<QWidget*>(QStringLiteral("Btn_DevExport"))->hide();
    devPopup_->resize(devPopup_->width(), devPopup_->height() - 26);
    contentPopup_ = addPopup(QStringLiteral("Pnl_DevContent"), {{"Btn_Edit", &MacroPage::Btn_EditClick},
                                                               {"Btn_Del", &MacroPage::Btn_DelClick},
                                                               {"Btn_Insert", &MacroPage::Btn_InsertClick}});

    pcList_->onRowPressed = [this](int row) { LB_PCMacroNameClick(row); };
    devList_->onRowPressed = [this](int row) { LB_MacroNameClick(row); };
    content_->onRowPressed = [this](int row) { LB_macroClick(row); };
    pcList_->onRightReleased = [this](QPoint at) { showPopup(pcPopup_, at, true); };
    devList_->onRightReleased = [this](QPoint at) {
        if (model_ && model_->deviceSelection()) showPopup(devPopup_, at, true);
    };
    content_->onRightReleased = [this](QPoint at) {
        if (!model_ || !model_->contentMenuAllowed()) return;
        findChild<QLabel*>(QStringLiteral("Btn_Edit"))->setEnabled(model_->editEnabled());
        showPopup(contentPopup_, at, true);
    };

    finishLayout();
    dialogCover_ = new CoverLabel(this);
    dialogCover_->setObjectName(QStringLiteral("Disable_All_4_1"));
    dialogCover_->hide();
    // Over the insert panel while an insert recording runs: only its record button works.
    insertCover_ = new CoverLabel(this);
    insertCover_->setObjectName(QStringLiteral("GB_Dis"));
    insertCover_->hide();
    sourceLabel_ = new QLabel(this);
    sourceLabel_->setObjectName(QStringLiteral("lbl_RecordSource"));
    sourceLabel_->setWordWrap(true);
    sourceLabel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    sourceLabel_->setStyleSheet(QStringLiteral("color: rgb(255, 80, 60);"));
    sourceLabel_->hide();
    if (model) attach(*model);
}

QFrame* MacroPage::addPopup(const QString& name,
                            std::initializer_list<std::pair<const char*, void (MacroPage::*)()>> entries) {
    std::vector<std::pair<const char*, std::function<void()>>> actions;
    for (const auto& [entryName, handler] : entries) actions.emplace_back(entryName, [this, h = handler] { (this->*h)(); });
    return popupPanel(this, name, actions);
}

void MacroPage::showPopup(QFrame* popup, QPoint globalPos, bool upwardsWhenLow) {
    ClearMacro();
    QPoint at = mapFromGlobal(globalPos);
    if (upwardsWhenLow && at.y() + popup->height() > height()) at.ry() -= popup->height();
    at.setX(std::min(at.x(), width() - popup->width()));
    popup->move(at);
    popup->show();
    popup->raise();
}

void MacroPage::attach(MacroModel& model) {
    model_ = &model;
    connect(model_, &MacroModel::changed, this, &MacroPage::refresh);
    connect(model_, &MacroModel::hidePopups, this, &MacroPage::ClearMacro);
    connect(model_, &MacroModel::message, this, [this](const QString& id) {
        if (showMessage) showMessage(id);
    });
    connect(model_, &MacroModel::messageText, this, [this](const QString& text) {
        if (showMessageText) showMessageText(text);
    });
    refresh();
}

void MacroPage::setRowHeight(int h) {
    for (MacroList* l : {pcList_, devList_, content_}) l->setRowHeight(h);
}

void MacroPage::showInsertPanel(bool insert) {
    insertShown_ = insert || (model_ && model_->insertOpen());
    insert_->setVisible(insertShown_);
    delay_->setVisible(!insertShown_);
    for (QWidget* w : delayGroup_) w->setVisible(!insertShown_);
    for (QWidget* w : insertGroup_) w->setVisible(insertShown_);
    if (!insertShown_) return;
    // The items of the insert panel show their own fields.
    const int item = insertChoice_->currentIndex() < 0 ? 0 : insertChoice_->currentIndex();
    const bool delayItem = item == 0 || item == 1, keyItem = item == 2 || item == 3, moveItem = item == 4 || item == 5;
    const bool repeatItem = item == 6 || item == 7;
    const auto show = [this](const char* name, bool on) {
        if (QWidget* w = findChild<QWidget*>(QLatin1String(name))) w->setVisible(on);
    };
    for (const char* n : {"lbl_Delay", "lbl_s_A"}) show(n, delayItem);
    show("Edt_InsertDelay", delayItem || keyItem);
    for (const char* n : {"Img_InsertRecDelay", "IB_InsertRecDelay", "Img_InsertDelayTime", "IB_InsertDelayTime",
                          "Img_InsertNoDelay", "IB_InsertNoDelay", "Btn_InsertStart", "Img_InsertStart"})
        show(n, keyItem);
    for (const char* n : {"lbl_XAxisValue", "edt_XAxisValue", "lbl_YAxisValue", "edt_YAxisValue"}) show(n, moveItem);
    for (const char* n : {"lbl_Repeat", "edt_Repeat"}) show(n, repeatItem);
    repeatEdit_->setEnabled(item == 6);
    setSkinPicture(insertBase_, skin_,
                   keyItem ? QStringLiteral("InsertKeyBase") : moveItem ? QStringLiteral("InsertXYBase") : QStringLiteral("InsertDelayBase"));
    okButton_->label()->setText(skin_.text(keyItem ? QStringLiteral("Str421") : QStringLiteral("Str420")));
    // The panel works while the rest of the page is covered.
    insertBase_->raise();
    for (QWidget* w : insertGroup_)
        if (w != insertBase_) w->raise();
    for (SkinButton* b : {okButton_, cancelButton_}) b->raise();
}

void MacroPage::lock(bool on) {
    for (MacroList* l : {pcList_, devList_, content_}) l->setEnabled(!on);
    // The cover swallows every click on the page but on the open insert panel: the cover
    // comes to the top whenever it is shown, so the panel must be kept above it by name,
    // not only raised before it.
    dialogCover_->keepAbove(insertShown_ ? insertGroup_ : std::vector<QWidget*>{});
    dialogCover_->setVisible(on);
    if (on) dialogCover_->raiseAbove();
    const bool insertRecording = recording_ && recordingInsert_;
    insertCover_->setVisible(insertRecording);
    if (insertRecording) {
        insertCover_->setGeometry(insertBase_->geometry());
        insertCover_->raise();
    }
    // The running recording's button stays clickable: it stops the recording.
    if (recording_) (recordingInsert_ ? insertStartButton_ : startButton_)->raise();
    if (recording_) sourceLabel_->raise();
}

RecordDelay MacroPage::recordDelay(bool insert) const {
    RecordDelay d;
    const DelayMode mode = !model_ ? DelayMode::Record : insert ? model_->insertDelayMode() : model_->delayMode();
    d.mode = mode == DelayMode::Default ? RecordDelayMode::Default
             : mode == DelayMode::None  ? RecordDelayMode::None
                                        : RecordDelayMode::Record;
    const QLineEdit* edit = insert ? insertDelayEdit_ : delayEdit_;
    const auto value = macro::numberOf(macro::ruleDelayText(edit->text().toStdString()));
    d.value = value && *value >= 1 ? static_cast<unsigned>(*value) : 50;
    return d;
}

void MacroPage::showRecording(bool recording, bool insert, const QString& sourceId) {
    recording_ = recording;
    recordingInsert_ = insert;
    (insert ? insertStartButton_ : startButton_)->label()->setText(skin_.text(recording ? QStringLiteral("Str401") : QStringLiteral("Str400")));
    sourceLabel_->setText(recording ? skin_.text(sourceId) : QString());
    // A line under the listing, as wide as it.
    const QRect list = content_->geometry();
    sourceLabel_->setGeometry(list.left(), list.bottom() + 4, list.width(), 34);
    sourceLabel_->setVisible(recording);
    ClearMacro();
    refresh();
}

void MacroPage::setList(MacroList* list, const QStringList& items, std::optional<std::size_t> selected, bool lines) {
    QStringList now;
    for (int i = 0; i < list->count(); ++i) now << list->item(i)->data(lines ? kLineRole : Qt::DisplayRole).toString();
    if (now != items) {
        list->clear();
        for (const QString& s : items) {
            auto* item = new QListWidgetItem(lines ? qs(macro::lineDisplayText(s.toStdString())) : s, list);
            item->setData(kLineRole, s);
        }
    }
    const int row = selected ? static_cast<int>(*selected) : -1;
    if (row != list->currentRow() || (row >= 0 && !list->item(row)->isSelected())) {
        list->setCurrentRow(row);
        if (row < 0) list->clearSelection();
    }
    if (row >= 0) list->scrollToItem(list->item(row));
}

void MacroPage::refresh() {
    if (!model_) return;
    const auto toList = [](const std::vector<std::string>& v) {
        QStringList out;
        for (const std::string& s : v) out << qs(s);
        return out;
    };
    setList(pcList_, toList(model_->libraryNames()), model_->librarySelection(), false);
    setList(devList_, toList(model_->deviceNames()), model_->deviceSelection(), false);
    setList(content_, toList(model_->listingRows()), model_->listingSelection(), true);
    delayEdit_->setText(qs(model_->delayText()));
    const bool defaultDelay = model_->delayMode() == DelayMode::Default;
    delayEdit_->setReadOnly(!defaultDelay);
    delayEdit_->setEnabled(defaultDelay && !recording_);
    const bool fullRecording = recording_ && !recordingInsert_;
    const bool insertRecording = recording_ && recordingInsert_;
    delay_->setEnabled(!fullRecording);
    for (QWidget* w : delayGroup_)
        if (w != delayEdit_) w->setEnabled(!fullRecording);
    insertChoice_->setEnabled(!insertRecording);
    for (SkinButton* b : {okButton_, cancelButton_}) b->label()->setEnabled(!insertRecording);
    showDelayDots(false);
    showDelayDots(true);
    newButton_->label()->setEnabled(model_->newMacroEnabled());
    if (QLabel* e = findChild<QLabel*>(QStringLiteral("Btn_NewMacro"))) e->setEnabled(model_->newMacroEnabled());
    if (QLabel* e = findChild<QLabel*>(QStringLiteral("Btn_ImportOne"))) e->setEnabled(model_->importOneEnabled());
    if (insertChoice_->currentIndex() != static_cast<int>(model_->insertItem()))
        insertChoice_->setCurrentIndex(static_cast<int>(model_->insertItem()));
    if (insertShown_ != model_->insertOpen()) {
        showInsertPanel(model_->insertOpen());
        if (!model_->insertOpen()) content_->verticalScrollBar()->setValue(model_->savedTopRow());
    } else if (insertShown_) {
        showInsertPanel(true);
    }
    lock(model_->locked() || recording_);
}

void MacroPage::showDelayDots(bool insert) {
    const DelayMode mode = insert ? model_->insertDelayMode() : model_->delayMode();
    const QString infix = insert ? QStringLiteral("Insert") : QString();
    const char* rows[] = {"RecDelay", "DelayTime", "NoDelay"};
    const DelayMode modes[] = {DelayMode::Record, DelayMode::Default, DelayMode::None};
    for (int j = 0; j < 3; ++j)
        if (QLabel* dot = findChild<QLabel*>(QStringLiteral("Img_") + infix + QLatin1String(rows[j])))
            setDot(dot, skin_, mode == modes[j]);
}

void MacroPage::chooseDelay(int row, bool insert) {
    if (!model_) return;
    const DelayMode modes[] = {DelayMode::Record, DelayMode::Default, DelayMode::None};
    if (insert)
        model_->setInsertDelayMode(modes[row]);
    else
        model_->setDelayMode(modes[row]);
}

// ------------------------------------------------------------------ handlers

void MacroPage::ClearMacro() {
    for (QFrame* p : {pcPopup_, devPopup_, contentPopup_}) p->hide();
}

void MacroPage::LB_PCMacroNameClick(int row) {
    if (model_) model_->LB_PCMacroNameClick(row < 0 ? std::nullopt : std::optional<std::size_t>(row));
}

void MacroPage::LB_MacroNameClick(int row) {
    if (model_) model_->LB_MacroNameClick(row < 0 ? std::nullopt : std::optional<std::size_t>(row));
}

void MacroPage::LB_macroClick(int row) {
    ClearMacro();
    if (model_) model_->selectListingRow(row < 0 ? std::nullopt : std::optional<std::size_t>(row));
}

void MacroPage::Btn_NewClick() {
    if (model_ && model_->Btn_NewMacroClick()) openDialog(3);
}

void MacroPage::Btn_NewNameClick() {
    if (model_ && model_->Btn_NewNameClick()) openDialog(3);
}

void MacroPage::Btn_DelPCMacroClick() {
    if (model_) model_->Btn_DelPCMacroClick();
}

void MacroPage::Btn_ImportOneClick() {
    ClearMacro();
    if (!model_ || !model_->importOneEnabled() || !chooseOpenFile) return;
    if (const auto file = chooseOpenFile()) model_->importOneFile(file->toStdString());
}

void MacroPage::Btn_ImportClick() {
    ClearMacro();
    if (!model_ || !chooseOpenFile) return;
    if (const auto file = chooseOpenFile()) model_->importAllFile(file->toStdString());
}

void MacroPage::Btn_ImportBaseMacroClick() {
    if (!model_ || !chooseOpenFile) return;
    if (const auto file = chooseOpenFile()) model_->importBaseMacroFile(file->toStdString());
}

void MacroPage::Btn_ExportOneClick() {
    ClearMacro();
    if (!model_ || !model_->librarySelection() || !chooseSaveFile) return;
    if (const auto file = chooseSaveFile()) model_->exportOneFile(macro::withBinSuffix(file->toStdString()));
}

void MacroPage::Btn_ExportClick() {
    ClearMacro();
    if (!model_ || !chooseSaveFile) return;
    if (const auto file = chooseSaveFile()) model_->exportAllFile(macro::withBinSuffix(file->toStdString()));
}

void MacroPage::Btn_AddMacroClick() {
    if (!model_) return;
    model_->Btn_AddMacroClick();
    devList_->scrollToBottom();
}

void MacroPage::Btn_DelMacroClick() {
    if (model_) model_->Btn_DelMacroClick();
}

void MacroPage::Btn_DevExportClick() {
    ClearMacro();
    if (!model_ || !chooseSaveFile) return;
    if (const auto file = chooseSaveFile()) model_->exportBaseMacroFile(macro::withBinSuffix(file->toStdString()));
}

void MacroPage::Btn_EditClick() {
    if (!model_) return;
    switch (model_->Btn_EditClick()) {
    case MacroEditDialog::Delay: openDialog(5); break;
    case MacroEditDialog::Key: openDialog(4); break;
    case MacroEditDialog::Move: openDialog(6); break;
    case MacroEditDialog::Repeat: openDialog(7); break;
    case MacroEditDialog::None: break;
    }
}

void MacroPage::Btn_DelClick() {
    if (model_) model_->Btn_DelClick();
}

void MacroPage::Btn_InsertClick() {
    if (model_) model_->Btn_InsertClick(content_->verticalScrollBar()->value());
}

void MacroPage::sendInsertTexts() {
    model_->setInsertTexts(insertDelayEdit_->text().toStdString(), xEdit_->text().toStdString(),
                           yEdit_->text().toStdString(), repeatEdit_->text().toStdString());
}

void MacroPage::Btn_OKClick() {
    if (!model_) return;
    sendInsertTexts();
    model_->Btn_OKClick();
}

void MacroPage::Btn_CancelClick() {
    if (model_) model_->Btn_CancelClick();
}

void MacroPage::CB_InsertChange(int item) {
    if (model_ && item >= 0 && item <= 7) model_->setInsertItem(static_cast<InsertItem>(item));
}

// ------------------------------------------------------------------ dialogs

SmallDialog* MacroPage::dialog(int form) {
    if (auto it = dialogs_.find(form); it != dialogs_.end()) return it->second;
    auto* d = new SmallDialog(form, skin_, window());
    dialogs_[form] = d;
    const auto& edits = d->edits();
    switch (form) {
    case 3:
        if (!edits.empty()) edits[0]->setMaxLength(static_cast<int>(macro::kNameUnits));
        d->onConfirm = [this](const QStringList& t) { model_->ApplyMacroName(t.value(0).toStdString()); };
        break;
    case 4:
        if (!edits.empty()) {
            edits[0]->setReadOnly(true);
            edits[0]->installEventFilter(new KeyCapture(edits[0], capturedUsage_));
        }
        d->onConfirm = [this](const QStringList& t) { model_->confirmKeyEdit(t.value(0).toStdString(), capturedUsage_); };
        break;
    case 5:
        for (QLineEdit* e : edits) clampWhileTyping(e, macro::ruleDelayText);
        d->onConfirm = [this](const QStringList& t) { model_->confirmDelayEdit(t.value(0).toStdString()); };
        break;
    case 6:
        for (QLineEdit* e : edits) clampWhileTyping(e, macro::ruleAxisText);
        d->onConfirm = [this](const QStringList& t) {
            model_->confirmMoveEdit(t.value(0).toStdString(), t.value(1).toStdString());
        };
        break;
    case 7:
        for (QLineEdit* e : edits) clampWhileTyping(e, macro::ruleRepeatText);
        d->onConfirm = [this](const QStringList& t) { model_->confirmRepeatEdit(t.value(0).toStdString()); };
        break;
    default: break;
    }
    d->onClosed = [this] { model_->closeDialog(); };
    return d;
}

void MacroPage::openDialog(int form) {
    capturedUsage_ = 0;
    dialog(form)->open();
}

}  // namespace nivra::ui
