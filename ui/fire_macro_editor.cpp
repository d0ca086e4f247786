// The fire macro editor on the gun page.
#include "ui/fire_macro_editor.h"

#include "device/discovery.h"
#include "macro/listing.h"
#include "macro/macro_name.h"
#include "settings/fire_macro_model.h"
#include "ui/macro_page.h"
#include "ui/number_edits.h"
#include "ui/panel_box.h"
#include "ui/skin_button.h"
#include "ui/skin_port.h"
#include "ui/small_dialog.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QScrollBar>

namespace nivra::ui {

namespace {

using macro::DelayMode;
using macro::FireInsertItem;

QString qs(const std::string& s) { return QString::fromStdString(s); }
QStringList toList(const std::vector<std::string>& v) {
    QStringList out;
    for (const std::string& s : v) out << qs(s);
    return out;
}
constexpr int kLineRole = Qt::UserRole + 1;  // as the Macro page's lists keep their lines

// Where the editor sits on the gun page: below the gun columns and the keep-left option,
// right of the gun buttons and above the mode pictures of guns 6 and 7.
// The block fills the lower right frame of the page's panel picture.
constexpr QRect kBlock(378, 300, 520, 238);
constexpr QRect kNames(0, 4, 120, 202);      // ten rows
constexpr QRect kListing(128, 4, 170, 230);
constexpr QPoint kStart(5, 208);
constexpr QRect kPanel(306, 4, 207, 162);    // GB_FireDelay and Gb_InsertFire, over their pictures
constexpr QRect kSource(306, 170, 207, 62);  // the recording's input source line
constexpr int kDelayRow = 28;

void setList(MacroList* list, const QStringList& items, std::optional<std::size_t> selected, bool lines) {
    QStringList now;
    for (int i = 0; i < list->count(); ++i) now << list->item(i)->data(kLineRole).toString();
    if (now != items) {
        list->clear();
        for (const QString& s : items) {
            auto* item = new QListWidgetItem(lines ? qs(macro::lineDisplayText(s.toStdString())) : s, list);
            item->setData(kLineRole, s);
        }
    }
    const int row = selected && static_cast<int>(*selected) < list->count() ? static_cast<int>(*selected) : -1;
    if (row != list->currentRow()) list->setCurrentRow(row);
    if (row < 0) list->clearSelection();
    if (row >= 0) list->scrollToItem(list->item(row));
}

std::optional<std::size_t> rowOf(int row) { return row < 0 ? std::nullopt : std::optional<std::size_t>(row); }

}  // namespace

FireMacroEditor::FireMacroEditor(QWidget* page, const SkinPort& skin, FireMacroModel& model, Discovery& discovery,
                                 Clock clock, std::unique_ptr<RecordingInputSource> source)
    : QObject(page), page_(page), skin_(skin), model_(model), discovery_(discovery), listing_(model) {
    build();
    replaceInput(std::move(clock), std::move(source));
    start_->onClick = [this] { Btn_FireStartClick(); };
    if (QWidget* base = page_->findChild<QWidget*>(QStringLiteral("Img_Base_6"))) base->installEventFilter(this);
    connect(&model_, &FireMacroModel::changed, this, &FireMacroEditor::refresh);
    connect(&model_, &FireMacroModel::hidePopups, this, &FireMacroEditor::HidePopups);
    connect(&model_, &FireMacroModel::editorHidden, this, [this] { recording_->stop(); });
    connect(&model_, &FireMacroModel::message, this, [this](const QString& id) {
        if (showMessage) showMessage(id);
    });
    connect(&model_, &FireMacroModel::messageText, this, [this](const QString& text) {
        if (showMessageText) showMessageText(text);
    });
    applySkin();
    refresh();
}

FireMacroEditor::~FireMacroEditor() { recording_.reset(); }

void FireMacroEditor::build() {
    // The frame is drawn only while the editor is revealed: hidden, the panel shows nothing
    // of it.
    box_ = new PanelBox(page_);
    box_->setObjectName(QStringLiteral("FireMacroEditorBox"));
    box_->frame(kBlock.adjusted(-12, -4, 6, 4));
    block_ = new QWidget(page_);
    block_->setObjectName(QStringLiteral("FireMacroEditor"));
    block_->setGeometry(kBlock);
    box_->stackUnder(block_);
    names_ = new MacroList(QStringLiteral("LB_FireMacroName"), false, block_);
    names_->setGeometry(kNames);
    content_ = new MacroList(QStringLiteral("LB_FireMacro"), true, block_);
    content_->setGeometry(kListing);
    start_ = new SkinButton(block_, QStringLiteral("Btn_FireStart"), ButtonKind::F, skin_);
    start_->picture()->move(kStart);
    start_->layLabelOverPicture();

    // The fire delay group over its picture Img_FireDelay.
    delayBase_ = new QLabel(block_);
    delayBase_->setObjectName(QStringLiteral("Img_FireDelay"));
    delayBase_->setGeometry(kPanel);
    delayGroup_ = new QWidget(block_);
    delayGroup_->setObjectName(QStringLiteral("GB_FireDelay"));
    delayGroup_->setGeometry(kPanel);
    const char* rows[] = {"RecDelay", "DelayTime", "NoDelay"};
    for (int j = 0; j < 3; ++j) {
        const int y = 14 + kDelayRow * j;
        auto* dot = new QLabel(delayGroup_);
        dot->setObjectName(QStringLiteral("Img_Fire") + QLatin1String(rows[j]));
        dot->setGeometry(18, y + (kDelayRow - 15) / 2, 15, 15);
        auto* label = new ClickLabel(delayGroup_);
        label->setObjectName(QStringLiteral("IB_Fire") + QLatin1String(rows[j]));
        label->setGeometry(14, y, 185, kDelayRow);
        // The caption's leading blanks leave room for the dot; narrow CJK blanks need a little more.
        label->setContentsMargins(8, 0, 0, 0);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->onClick = [this, j] { chooseDelay(j); };
    }
    delayEdit_ = new TIntEdit(delayGroup_);
    delayEdit_->setObjectName(QStringLiteral("Edt_FireDelay"));
    delayEdit_->setGeometry(56, 14 + kDelayRow * 3 + 8, 64, 22);
    delayEdit_->setAlignment(Qt::AlignCenter);
    clampWhileTyping(delayEdit_, macro::ruleDelayText);
    connect(delayEdit_, &QLineEdit::editingFinished, this, [this] { model_.setFireDelayText(delayEdit_->text().toStdString()); });

    // The insert panel over its picture Img_FireInsert, in the same place.
    insertBase_ = new QLabel(block_);
    insertBase_->setObjectName(QStringLiteral("Img_FireInsert"));
    insertBase_->setGeometry(kPanel);
    insertGroup_ = new QWidget(block_);
    insertGroup_->setObjectName(QStringLiteral("Gb_InsertFire"));
    insertGroup_->setGeometry(kPanel);
    insertChoice_ = new QComboBox(insertGroup_);
    insertChoice_->setObjectName(QStringLiteral("CB_InsertFire"));
    insertChoice_->setGeometry(14, 12, 160, 24);  // leaves the picture's corner mark free
    connect(insertChoice_, &QComboBox::activated, this, [this](int i) { CB_InsertFireChange(i); });
    const auto label = [this](const char* name, QRect r) {
        auto* l = new QLabel(insertGroup_);
        l->setObjectName(QLatin1String(name));
        l->setGeometry(r);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return l;
    };
    const auto edit = [this](const char* name, QLineEdit* e, const QString& text, QRect r) {
        e->setObjectName(QLatin1String(name));
        e->setText(text);
        e->setAlignment(Qt::AlignCenter);
        e->setGeometry(r);
        return e;
    };
    label("lbl_FireDelay", {14, 52, 92, 22});
    insertDelayEdit_ = edit("Edt_InsertFireDelay", new TIntEdit(insertGroup_), QStringLiteral("50"), {108, 52, 56, 22});
    clampWhileTyping(insertDelayEdit_, macro::ruleDelayText);
    label("lbl_Fires_A", {168, 52, 30, 22});
    label("lbl_FireXAxisValue", {14, 52, 92, 22});
    label("lbl_FireYAxisValue", {14, 84, 92, 22});
    xEdit_ = edit("edt_FireXAxisValue", new TSPITEdit(insertGroup_), QStringLiteral("12"), {108, 52, 56, 22});
    yEdit_ = edit("edt_FireYAxisValue", new TSPITEdit(insertGroup_), QStringLiteral("10"), {108, 84, 56, 22});
    for (QLineEdit* e : {xEdit_, yEdit_}) {
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*")), e));
        clampWhileTyping(e, macro::ruleAxisText);
    }
    label("lbl_FireRepeat", {14, 52, 92, 22});
    repeatEdit_ = edit("edt_FireRepeat", new TIntEdit(insertGroup_), QStringLiteral("12"), {108, 52, 56, 22});
    clampWhileTyping(repeatEdit_, macro::ruleFireRepeatText);
    ok_ = new SkinButton(insertGroup_, QStringLiteral("Btn_FireOK"), ButtonKind::G, skin_);
    cancel_ = new SkinButton(insertGroup_, QStringLiteral("Btn_FireCancel"), ButtonKind::G, skin_);
    ok_->picture()->move(96, 122);
    cancel_->picture()->move(148, 122);
    for (SkinButton* b : {ok_, cancel_}) b->layLabelOverPicture();
    ok_->onClick = [this] { Btn_FireOKClick(); };
    cancel_->onClick = [this] { Btn_FireCancelClick(); };

    sourceLabel_ = new QLabel(block_);
    sourceLabel_->setObjectName(QStringLiteral("lbl_FireRecordSource"));
    sourceLabel_->setGeometry(kSource);
    sourceLabel_->setWordWrap(true);
    sourceLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    sourceLabel_->setStyleSheet(QStringLiteral("color: rgb(255, 80, 60);"));
    sourceLabel_->hide();

    // The pop-ups float over the whole page, at the pointer.
    namePopup_ = addPopup(QStringLiteral("Pnl_DevFireMacro"), {{"Btn_NewFireName", &FireMacroEditor::Btn_NewFireNameClick}});
    contentPopup_ = addPopup(QStringLiteral("Pnl_DevFireContent"), {{"Btn_FireDel", &FireMacroEditor::Btn_FireDelClick},
                                                                    {"Btn_FireInsert", &FireMacroEditor::Btn_FireInsertClick}});
    names_->onRowPressed = [this](int row) { LB_FireMacroNameClick(row); };
    content_->onRowPressed = [this](int row) { LB_FireMacroClick(row); };
    names_->onRightReleased = [this](QPoint at) {
        if (model_.selection()) showPopup(namePopup_, at);
    };
    content_->onRightReleased = [this](QPoint at) {
        if (model_.contentMenuAllowed()) showPopup(contentPopup_, at);
    };
}

QFrame* FireMacroEditor::addPopup(const QString& name,
                                  std::initializer_list<std::pair<const char*, void (FireMacroEditor::*)()>> entries) {
    std::vector<std::pair<const char*, std::function<void()>>> actions;
    for (const auto& [entryName, handler] : entries) actions.emplace_back(entryName, [this, h = handler] { (this->*h)(); });
    return popupPanel(page_, name, actions);
}

void FireMacroEditor::showPopup(QFrame* popup, QPoint globalPos) {
    HidePopups();
    QPoint at = page_->mapFromGlobal(globalPos);
    if (at.y() + popup->height() > page_->height()) at.ry() -= popup->height();
    at.setX(std::min(at.x(), page_->width() - popup->width()));
    popup->move(at);
    popup->show();
    popup->raise();
}

// The layout pass gives the editor's controls their fonts, colours, captions and list items;
// it ran before the editor existed, so the editor applies what it holds for them now (a
// change of language reaches them with the rest of the window).
void FireMacroEditor::applySkin() {
    for (const auto& [name, picture] : skin_.startPictures())
        for (QLabel* l : block_->findChildren<QLabel*>(name)) setSkinPicture(l, skin_, picture);
    for (const auto& [name, c] : skin_.layout())
        for (QWidget* w : block_->findChildren<QWidget*>(name)) applyControlSkin(w, c, skin_);
    for (QFrame* popup : {namePopup_, contentPopup_})
        for (const auto& [name, c] : skin_.layout())
            for (QWidget* w : popup->findChildren<QWidget*>(name)) applyControlSkin(w, c, skin_);
    // Labels and edits keep the places the editor gave them.
    for (SkinButton* b : {start_, ok_, cancel_}) b->layLabelOverPicture();
}

// ------------------------------------------------------------------ drawing

void FireMacroEditor::refresh() {
    setList(names_, toList(model_.RefreshFireMacroName()), model_.selection(), false);
    setList(content_, toList(model_.listingRows()), model_.listingSelection(), true);
    const bool recording = recordingShown_;
    const bool insert = model_.insertOpen();
    names_->setEnabled(!recording && !insert);
    content_->setEnabled(!recording);
    start_->label()->setEnabled(!insert);
    start_->label()->setText(skin_.text(recording ? QStringLiteral("Str401") : QStringLiteral("Str400")));
    // GB_FireDelay and Img_FireDelay, or the insert panel in their place.
    delayBase_->setVisible(!insert);
    delayGroup_->setVisible(!insert);
    insertBase_->setVisible(insert);
    insertGroup_->setVisible(insert);
    delayGroup_->setEnabled(!recording);
    const bool defaultDelay = model_.fireDelayMode() == DelayMode::Default;
    delayEdit_->setText(qs(model_.fireDelayText()));
    delayEdit_->setReadOnly(!defaultDelay);
    delayEdit_->setEnabled(defaultDelay && !recording);
    const DelayMode modes[] = {DelayMode::Record, DelayMode::Default, DelayMode::None};
    const char* rows[] = {"RecDelay", "DelayTime", "NoDelay"};
    for (int j = 0; j < 3; ++j)
        if (auto* dot = delayGroup_->findChild<QLabel*>(QStringLiteral("Img_Fire") + QLatin1String(rows[j])))
            setSkinPicture(dot, skin_, model_.fireDelayMode() == modes[j] ? QStringLiteral("RdS_E") : QStringLiteral("RdS_D"));
    if (insert) showInsertItem();
    insertBase_->lower();
    delayBase_->lower();
    block_->setVisible(model_.editorShown());
    box_->setVisible(model_.editorShown());
    box_->stackUnder(block_);
    if (!model_.editorShown()) HidePopups();
}

void FireMacroEditor::showInsertItem() {
    const int item = static_cast<int>(model_.insertItem());
    if (insertChoice_->currentIndex() != item) insertChoice_->setCurrentIndex(item);
    const bool delayItem = item <= 1, moveItem = item == 2 || item == 3, repeatItem = item >= 4;
    const auto show = [this](const char* name, bool on) {
        if (QWidget* w = insertGroup_->findChild<QWidget*>(QLatin1String(name))) w->setVisible(on);
    };
    for (const char* n : {"lbl_FireDelay", "Edt_InsertFireDelay", "lbl_Fires_A"}) show(n, delayItem);
    for (const char* n : {"lbl_FireXAxisValue", "edt_FireXAxisValue", "lbl_FireYAxisValue", "edt_FireYAxisValue"})
        show(n, moveItem);
    for (const char* n : {"lbl_FireRepeat", "edt_FireRepeat"}) show(n, repeatItem);
    repeatEdit_->setEnabled(item == static_cast<int>(FireInsertItem::RepeatStart));
}

// ------------------------------------------------------------------ handlers

bool FireMacroEditor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick && watched->objectName() == QLatin1String("Img_Base_6")) {
        Img_Base_6DblClick();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void FireMacroEditor::Img_Base_6DblClick() {
    if (recordingShown_) return;
    if (model_.Img_Base_6DblClick() != FireRevealStep::AskPassword) return;
    std::optional<std::string> text;
    if (askPassword)
        if (const std::optional<QString> typed = askPassword()) text = typed->toStdString();
    model_.passwordEntered(text);
}

void FireMacroEditor::HidePopups() {
    namePopup_->hide();
    contentPopup_->hide();
}

void FireMacroEditor::LB_FireMacroNameClick(int row) { model_.LB_FireMacroNameClick(rowOf(row)); }

void FireMacroEditor::LB_FireMacroClick(int row) {
    HidePopups();
    model_.selectListingRow(rowOf(row));
}

void FireMacroEditor::Btn_NewFireNameClick() {
    if (!model_.Btn_NewFireNameClick()) return;
    if (!nameDialog_) {
        nameDialog_ = new SmallDialog(3, skin_, page_->window());
        if (!nameDialog_->edits().empty()) nameDialog_->edits()[0]->setMaxLength(static_cast<int>(macro::kNameUnits));
        nameDialog_->onConfirm = [this](const QStringList& t) { model_.ApplyMacroName(t.value(0).toStdString()); };
    }
    nameDialog_->open();
}

void FireMacroEditor::Btn_FireDelClick() { model_.Btn_FireDelClick(); }

void FireMacroEditor::Btn_FireInsertClick() { model_.Btn_FireInsertClick(content_->verticalScrollBar()->value()); }

void FireMacroEditor::CB_InsertFireChange(int item) {
    if (item >= 0 && item < static_cast<int>(macro::kFireInsertItemCount))
        model_.setInsertItem(static_cast<FireInsertItem>(item));
}

void FireMacroEditor::Btn_FireOKClick() {
    model_.setInsertTexts({insertDelayEdit_->text().toStdString(), xEdit_->text().toStdString(),
                           yEdit_->text().toStdString(), repeatEdit_->text().toStdString()});
    model_.Btn_FireOKClick();
}

void FireMacroEditor::Btn_FireCancelClick() {
    model_.Btn_FireCancelClick();
    content_->verticalScrollBar()->setValue(model_.savedTopRow());
}

void FireMacroEditor::Btn_FireStartClick() {
    if (model_.insertOpen()) return;
    recording_->Btn_FireStartClick(model_.selection().has_value(), model_.recordDelay(),
                                   static_cast<unsigned>(kFireMacroBodySize - 1));
}

void FireMacroEditor::Btn_ImportGunMacroClick() {
    if (!chooseOpenFile) return;
    if (const std::optional<QString> file = chooseOpenFile()) model_.Btn_ImportGunMacroClick(file->toStdString());
}

void FireMacroEditor::chooseDelay(int row) {
    const DelayMode modes[] = {DelayMode::Record, DelayMode::Default, DelayMode::None};
    if (!recordingShown_) model_.setFireDelayMode(modes[row]);
}

// ------------------------------------------------------------------ recording

void FireMacroEditor::replaceInput(Clock clock, std::unique_ptr<RecordingInputSource> source) {
    if (recording_ && recording_->recording()) return;
    recording_ = std::make_unique<MacroRecording>(listing_, *this, std::move(clock), std::move(source), this);
    recording_->askOverRecordButton([this] { return pointerOver(start_->label()); });
}

void FireMacroEditor::recordingRefused(const QString& textId) {
    if (showMessage) showMessage(textId);
}

void FireMacroEditor::setPresencePoll(bool running) {
    if (!running) {
        pollWasRunning_ = discovery_.devTimerRunning();
        discovery_.StopDevTimer();
    } else if (pollWasRunning_) {
        discovery_.StartDevTimer();
    }
}

void FireMacroEditor::clearMacroForRecording() { model_.startRecording(); }

void FireMacroEditor::showRecording(bool recording, bool, RecordingInputSource::Kind source) {
    recordingShown_ = recording;
    sourceLabel_->setText(recording ? skin_.text(QLatin1String(recordingSourceTextId(source))) : QString());
    sourceLabel_->setVisible(recording);
    HidePopups();
    refresh();
}

void FireMacroEditor::commitRecordedMacro() { model_.stopRecording(); }

}  // namespace nivra::ui
