#include "settings/pointer_settings.h"

#include "files/file_bytes.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <span>

namespace nivra {

namespace {

// A store text that is a decimal number ("-1", "20"); anything else counts as missing.
std::optional<int> decimal(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    for (qsizetype i = 0; i < t.size(); ++i)
        if (!t[i].isDigit() && !(i == 0 && t[i] == QLatin1Char('-'))) return std::nullopt;
    bool ok = false;
    const int v = t.toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

std::optional<int> valueOf(const PointerStore::Section& s, const char* name) {
    const auto it = s.find(QLatin1String(name));
    return it == s.end() ? std::nullopt : decimal(it->second);
}

// The file as sections of name/value lines, in file order.
using Sections = std::vector<std::pair<QString, std::vector<std::pair<QString, QString>>>>;

// Read through the program's file reader: a FIFO or device in the file's place is refused
// instead of waited on, and a huge file is not read.
bool readSections(const QString& path, Sections& out) {
    std::vector<std::uint8_t> bytes;
    if (!readFileUpTo(path.toStdString(), bytes, kMaxTextFileSize)) return false;
    QByteArray text(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    QTextStream in(&text, QIODevice::ReadOnly | QIODevice::Text);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            out.push_back({line.mid(1, line.size() - 2), {}});
        } else if (const qsizetype eq = line.indexOf(QLatin1Char('=')); eq > 0 && !out.empty()) {
            out.back().second.push_back({line.left(eq).trimmed(), line.mid(eq + 1).trimmed()});
        }
    }
    return true;
}

}  // namespace

// ---------------------------------------------------------------- store

QString PointerStore::defaultPath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty()) {
        const QString home = qEnvironmentVariable("HOME");
        if (home.isEmpty()) return {};
        base = home + QStringLiteral("/.config");
    }
    return base + QStringLiteral("/nivra/pointer-settings.ini");
}

std::optional<PointerStore::Section> PointerStore::readSection(const QString& section) const {
    Sections all;
    if (path_.isEmpty() || !readSections(path_, all)) return std::nullopt;
    for (const auto& [name, values] : all) {
        if (name != section) continue;
        Section s;
        for (const auto& [k, v] : values) s[k] = v;
        return s;
    }
    return std::nullopt;
}

bool PointerStore::writeValues(const QString& section, const Section& values) {
    if (path_.isEmpty()) return false;
    Sections all;
    readSections(path_, all);
    auto sec = std::find_if(all.begin(), all.end(), [&](const auto& s) { return s.first == section; });
    if (sec == all.end()) {
        all.push_back({section, {}});
        sec = all.end() - 1;
    }
    for (const auto& value : values) {
        // Named, not a structured binding: a lambda may not capture one before C++20 in clang.
        const QString& name = value.first;
        const QString& text = value.second;
        auto& lines = sec->second;
        auto it = std::find_if(lines.begin(), lines.end(), [&](const auto& l) { return l.first == name; });
        if (it == lines.end()) lines.push_back({name, text});
        else it->second = text;
    }
    if (!QDir().mkpath(QFileInfo(path_).absolutePath())) return false;
    QString text;
    for (const auto& [name, lines] : all) {
        text += QLatin1Char('[') + name + QStringLiteral("]\n");
        for (const auto& [k, v] : lines) text += k + QLatin1Char('=') + v + QLatin1Char('\n');
    }
    const QByteArray bytes = text.toUtf8();
    return writeFileAtomically(path_.toStdString(),
                               std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                         static_cast<std::size_t>(bytes.size())));
}

// ---------------------------------------------------------------- step tables

int sensitivityOfStep(int step) { return step <= 1 ? 1 : 2 * (std::min(step, 11) - 1); }
int doubleClickOfStep(int step) { return 900 - 70 * (std::clamp(step, 1, 11) - 1); }

std::optional<int> stepOfSensitivity(int v) {
    if (v < 0 || v > 20) return std::nullopt;
    return v / 2 + 1;
}

std::optional<int> stepOfDoubleClick(int t) {
    if (t == 900) return 1;
    if (t < 100 || t > 900) return std::nullopt;
    if (t < 270) return 11;
    // 830..899 -> 2, 760..829 -> 3, .. 270..339 -> 10
    return 2 + (899 - t) / 70;
}

// ---------------------------------------------------------------- model

PointerSettings::PointerSettings(PointerStore store, QObject* parent) : QObject(parent), store_(std::move(store)) {}

PointerApply PointerSettings::values() const {
    return {speedValue_, precision_[1], precision_[2], precision_[0], doubleClickTime_, wheelLines_};
}

void PointerSettings::MseSpd_OnClick(int step) {
    if (step < 1 || step > 11) return;
    speedStep_ = step;
    emit changed();
    applyPointerSettings();
}

void PointerSettings::MseDbSpd_OnClick(int step) {
    if (step < 1 || step > 11) return;
    doubleClickStep_ = step;
    emit changed();
    applyPointerSettings();
}

void PointerSettings::MseScrSpd_OnClick(int step) {
    if (step < 1 || step > 11 || wholeScreen_) return;
    wheelStep_ = step;
    savedWheelStep_ = step;
    wheelBarStep_ = step;
    emit changed();
    applyPointerSettings();
}

void PointerSettings::lbl_IsControlClick() {
    precisionOn_ = !precisionOn_;
    precision_ = precisionOn_ ? std::array<int, 3>{1, 6, 10} : std::array<int, 3>{0, 0, 0};
    emit changed();
    applyPointerSettings();
}

void PointerSettings::lbl_IsScreenClick() {
    wholeScreen_ = !wholeScreen_;
    wheelStep_ = wholeScreen_ ? -1 : savedWheelStep_;
    emit changed();
    applyPointerSettings();
}

void PointerSettings::applyPointerSettings() {
    ChangedMouseSystemParameterA();
    ChangedMouseSystemParameterB();
    const PointerApply v = values();
    for (PointerBackend* b : backends_) b->apply(v);
}

void PointerSettings::ChangedMouseSystemParameterA() {
    using namespace pointer_store;
    PointerStore::Section s;
    const bool speedKnown = speedStep_ >= 1 && speedStep_ <= 11;
    const bool doubleClickKnown = doubleClickStep_ >= 1 && doubleClickStep_ <= 11;
    if (speedKnown) s[QLatin1String(kMouseSensitivity)] = QString::number(sensitivityOfStep(speedStep_));
    s[QLatin1String(kMouseSpeed)] = QString::number(precision_[0]);
    s[QLatin1String(kMouseThreshold1)] = QString::number(precision_[1]);
    s[QLatin1String(kMouseThreshold2)] = QString::number(precision_[2]);
    if (doubleClickKnown) s[QLatin1String(kDoubleClickSpeed)] = QString::number(doubleClickOfStep(doubleClickStep_));
    if (!store_.writeValues(QLatin1String(kMouse), s)) return;
    if (speedKnown) speedValue_ = sensitivityOfStep(speedStep_);
    if (doubleClickKnown) doubleClickTime_ = doubleClickOfStep(doubleClickStep_);
}

void PointerSettings::ChangedMouseSystemParameterB() {
    if (wheelStep_ == 0) return;  // nothing known to write
    const int lines = wheelStep_ < 0 ? -1 : wheelStep_;
    if (store_.writeValues(QLatin1String(pointer_store::kDesktop),
                           {{QLatin1String(pointer_store::kWheelScrollLines), QString::number(lines)}}))
        wheelLines_ = lines;
}

void PointerSettings::RefreshMouseSystemParameterA() {
    using namespace pointer_store;
    const auto s = store_.readSection(QLatin1String(kMouse));
    if (!s) return;
    if (const auto v = valueOf(*s, kMouseSensitivity)) {
        speedValue_ = *v;
        if (const auto step = stepOfSensitivity(*v)) speedStep_ = *step;
    }
    const char* precisionNames[] = {kMouseSpeed, kMouseThreshold1, kMouseThreshold2};
    for (std::size_t i = 0; i < 3; ++i)
        if (const auto v = valueOf(*s, precisionNames[i])) precision_[i] = *v;
    precisionOn_ = precision_[0] != 0 || precision_[1] != 0 || precision_[2] != 0;
    if (const auto t = valueOf(*s, kDoubleClickSpeed)) {
        doubleClickTime_ = *t;
        if (const auto step = stepOfDoubleClick(*t)) doubleClickStep_ = *step;
    }
    emit changed();
}

void PointerSettings::RefreshMouseSystemParameterB() {
    const auto s = store_.readSection(QLatin1String(pointer_store::kDesktop));
    if (!s) return;
    const auto n = valueOf(*s, pointer_store::kWheelScrollLines);
    if (!n) return;
    wheelLines_ = *n;
    if (*n == -1) {
        wholeScreen_ = true;
        wheelStep_ = -1;
        savedWheelStep_ = 1;
    } else {
        wholeScreen_ = false;
        if (*n >= 1 && *n <= 11) wheelStep_ = *n;
        // Lines outside the scale while whole-screen scrolling was on: the step is no longer
        // known, so the toggle (off) and the next apply (writes nothing) agree.
        else if (wheelStep_ < 0) wheelStep_ = 0;
        savedWheelStep_ = wheelStep_;
        wheelBarStep_ = wheelStep_;
    }
    emit changed();
}

}  // namespace nivra
