#include "settings/fire_key_model.h"

#include "image/code_texts.h"
#include "image/codes.h"
#include "image/fields.h"

namespace nivra {

namespace {

constexpr int kMaxClicks = 15;
constexpr int kMaxInterval = 4094;
constexpr std::uint8_t kContinueBit = 0x80;   // byte 1 of a fire key's button code

// Digits as a number; empty gives nullopt. Long inputs are held to a large value.
std::optional<int> number(const QString& digits) {
    if (digits.isEmpty()) return std::nullopt;
    bool ok = false;
    const qlonglong v = digits.left(9).toLongLong(&ok);
    return ok ? std::optional<int>(static_cast<int>(v)) : std::nullopt;
}

}  // namespace

FireKeyModel::FireKeyModel(ImageEditor& editor, QObject* parent) : QObject(parent), editor_(editor) {
    connect(&editor_, &ImageEditor::imageReplaced, this, &FireKeyModel::refresh);
    connect(&editor_, &ImageEditor::bytesChanged, this, &FireKeyModel::onBytesChanged);
    refresh();
}

void FireKeyModel::showTexts() {
    for (std::size_t i = 0; i < 3; ++i) {
        repeatText_[i] = QString::number(keys_[i].count);
        delayText_[i] = QString::number(keys_[i].interval);
    }
}

// ---------------------------------------------------------------- user page

void FireKeyModel::setUserRepeat(int n, const QString& digits) {
    if (editor_.busy()) return;
    const std::optional<int> v = number(digits);
    Key& k = keys_[idx(n)];
    k.count = !v || *v < 1 ? 2 : std::min(*v, kMaxClicks);
    // While typing, the edit keeps a lone 1; every other correction shows at once.
    repeatText_[idx(n)] = QString::number(k.count);
    SettingFireKey();
}

void FireKeyModel::leaveUserRepeat(int n) {
    if (editor_.busy() || keys_[idx(n)].count != 1) return;
    keys_[idx(n)].count = 2;
    repeatText_[idx(n)] = QStringLiteral("2");
    SettingFireKey();
}

void FireKeyModel::setUserDelay(int n, const QString& digits) {
    if (editor_.busy()) return;
    const std::optional<int> v = number(digits);
    Key& k = keys_[idx(n)];
    k.interval = !v || *v < 1 ? 1 : std::min(*v, kMaxInterval);
    delayText_[idx(n)] = QString::number(k.interval);
    SettingFireKey();
}

void FireKeyModel::toggleUserContinue(int n) {
    if (editor_.busy()) return;
    keys_[idx(n)].continueOn = !keys_[idx(n)].continueOn;
    SettingFireKey(n);
}

// ---------------------------------------------------------------- engineer tab

void FireKeyModel::setEngineerCount(int n, int item) {
    if (editor_.busy() || item < 0 || item >= kMaxClicks) return;
    keys_[idx(n)].count = item + 1;
    showTexts();
    TLSettingFireKey();
}

void FireKeyModel::setEngineerInterval(int n, const QString& digits) {
    if (editor_.busy()) return;
    keys_[idx(n)].interval = std::min(number(digits).value_or(0), kMaxInterval);
    showTexts();
    TLSettingFireKey();
}

void FireKeyModel::toggleEngineerContinue(int n) {
    if (editor_.busy()) return;
    keys_[idx(n)].continueOn = !keys_[idx(n)].continueOn;
    TLSettingFireKey(n);
}

void FireKeyModel::setFireKey(int n, int count, int interval, bool continueOn) {
    if (editor_.busy() || n < 1 || n > 3 || count < 1 || count > kMaxClicks || interval < 1 || interval > kMaxInterval)
        return;
    keys_[idx(n)] = Key{count, interval, continueOn};
    showTexts();
    SettingFireKey(n);
}

// ---------------------------------------------------------------- apply

void FireKeyModel::SettingFireKey(int continueChosen) {
    if (editor_.busy()) {
        emit changed();
        return;
    }
    // Buttons are matched to fire keys by the names they carry now, under the old definitions.
    const NameInputs names = nameInputsFromImage(editor_.work().bytes, editor_.state().systemMemory);
    std::array<std::array<int, kKeysPerProfile>, 3> fireKeyOf{};
    for (int p = 1; p <= 3; ++p) {
        for (int b = 1; b <= static_cast<int>(kKeysPerProfile); ++b) {
            const auto at = editor_.work().bytes.begin() + static_cast<std::ptrdiff_t>(buttonCodeOffset(p, b));
            fireKeyOf[static_cast<std::size_t>(p - 1)][static_cast<std::size_t>(b - 1)] =
                NameOfCode(codeFromBytes(std::span<const std::uint8_t>(at, 4)), names).fireKey;
        }
    }
    for (int n = 1; n <= 3; ++n) {
        const Key& k = keys_[idx(n)];
        const auto hi = static_cast<std::uint8_t>(k.interval >> 8);
        const auto lo = static_cast<std::uint8_t>(k.interval & 0xFF);
        const std::uint8_t entry[3] = {static_cast<std::uint8_t>(k.count - 1), hi, lo};
        editor_.setBytes(offset::kFireKeys + 3 * static_cast<std::size_t>(n - 1), entry, Write::None);
        for (int p = 1; p <= 3; ++p)
            for (int b = 1; b <= static_cast<int>(kKeysPerProfile); ++b) {
                if (fireKeyOf[static_cast<std::size_t>(p - 1)][static_cast<std::size_t>(b - 1)] != n) continue;
                // Continue is a property of each button: the model shows the profile in view,
                // so only a Continue the user just chose for this key replaces the buttons' own.
                const bool ownContinue = (editor_.work().bytes[buttonCodeOffset(p, b) + 1] & kContinueBit) != 0;
                const bool continueOn = n == continueChosen ? k.continueOn : ownContinue;
                const std::uint8_t code[4] = {static_cast<std::uint8_t>(CodeType::FireKey),
                                              fireRepeatByte(k.count, continueOn), hi, lo};
                editor_.setButtonCode(p, b, code, Write::None);
            }
    }
    // The profiles and the fire-key block (I2C mice), then the profile re-selection.
    editor_.CommitProfileAndFireKeySections();
    emit changed();
}

// ---------------------------------------------------------------- refreshes

void FireKeyModel::refresh() {
    for (int n = 1; n <= 3; ++n) {
        const FireKeyBlockEntry e = fireKeyEntry(editor_.work().bytes, n);
        keys_[idx(n)].count = e.countMinusOne + 1;
        keys_[idx(n)].interval = e.delay;
    }
    showTexts();
    profileSeen_ = profileShown();
    TLRefreshFireKey();
    RefreshFireKey();
}

int FireKeyModel::profileShown() const {
    const int p = getField(editor_.work().bytes, field::kCurrentMode);
    return p <= 2 ? p + 1 : 1;
}

void FireKeyModel::continueFrom(std::initializer_list<int> profiles) {
    const NameInputs names = nameInputsFromImage(editor_.work().bytes, editor_.state().systemMemory);
    std::array<bool, 3> on{};
    for (int p : profiles) {
        for (int b = 1; b <= static_cast<int>(kKeysPerProfile); ++b) {
            const auto at = editor_.work().bytes.begin() + static_cast<std::ptrdiff_t>(buttonCodeOffset(p, b));
            const CodeName name = NameOfCode(codeFromBytes(std::span<const std::uint8_t>(at, 4)), names);
            if (name.fireKey >= 1) on[static_cast<std::size_t>(name.fireKey - 1)] = name.fireContinue;
        }
    }
    for (std::size_t i = 0; i < 3; ++i) keys_[i].continueOn = on[i];
    emit changed();
}

void FireKeyModel::RefreshFireKey() { continueFrom({profileShown()}); }
void FireKeyModel::TLRefreshFireKey() { continueFrom({1, 2, 3}); }

void FireKeyModel::onBytesChanged(EditRegion region, std::size_t offset, std::size_t count) {
    // Continue follows the profile shown.
    if (region != EditRegion::User || offset > offset::kModeByte || offset + count <= offset::kModeByte) return;
    if (profileShown() == profileSeen_) return;
    profileSeen_ = profileShown();
    RefreshFireKey();
}

}  // namespace nivra
