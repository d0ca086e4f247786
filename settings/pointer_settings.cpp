#include "settings/pointer_settings.h"

#include "files/file_bytes.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <cmath>
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

PointerValues only(PointerSetting setting, const PointerValues& v) {
    PointerValues out;
    switch (setting) {
    case PointerSetting::Speed: out.speed = v.speed; break;
    case PointerSetting::Precision: out.precision = v.precision; break;
    case PointerSetting::DoubleClick: out.doubleClickMs = v.doubleClickMs; break;
    case PointerSetting::WheelLines:
    case PointerSetting::WholeScreen: out.wheelLines = v.wheelLines; break;
    }
    return out;
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

// Speed 10 is the desktop's middle (0), 20 its top (1); 1 gives -0.9 and 0 the bottom (-1).
double desktopSpeedOf(int speed) { return std::clamp((speed - 10) / 10.0, -1.0, 1.0); }

// Rounded to the nearest whole speed, so that a value kept in single precision (libinput's
// property) reads back as the speed that was written.
int speedOfDesktop(double d) {
    if (!std::isfinite(d)) return 10;
    return static_cast<int>(std::lround(std::clamp(d, -1.0, 1.0) * 10.0 + 10.0));
}

// ---------------------------------------------------------------- model

PointerSettings::PointerSettings(PointerStore store, PointerBackend* desktop, QObject* parent)
    : QObject(parent), store_(std::move(store)), desktop_(desktop) {}

bool PointerSettings::apply(PointerSetting setting, const PointerValues& v) {
    if (!holds(setting)) return false;
    if (!desktop_->write(only(setting, v))) {
        // Show what the desktop really holds now rather than the refused value.
        refresh();
        return false;
    }
    if (follow_) follow_(only(setting, v));
    return true;
}

bool PointerSettings::MseSpd_OnClick(int step) {
    if (step < 1 || step > 11) return false;
    const int speed = sensitivityOfStep(step);
    if (!apply(PointerSetting::Speed, {.speed = speed})) return false;
    speedStep_ = step;
    values_.speed = speed;
    emit changed();
    return true;
}

bool PointerSettings::MseDbSpd_OnClick(int step) {
    if (step < 1 || step > 11) return false;
    const int ms = doubleClickOfStep(step);
    if (!apply(PointerSetting::DoubleClick, {.doubleClickMs = ms})) return false;
    doubleClickStep_ = step;
    values_.doubleClickMs = ms;
    emit changed();
    return true;
}

bool PointerSettings::MseScrSpd_OnClick(int step) {
    if (step < 1 || step > 11 || wholeScreen_) return false;
    if (!apply(PointerSetting::WheelLines, {.wheelLines = step})) return false;
    wheelStep_ = savedWheelStep_ = wheelBarStep_ = step;
    values_.wheelLines = step;
    // Where whole-screen scrolling lives, the desktop forgets the lines while it is on: the
    // step to come back to is kept here.
    bool kept = true;
    if (holds(PointerSetting::WholeScreen))
        kept = store_.writeValues(QLatin1String(pointer_store::kDesktop),
                                  {{QLatin1String(pointer_store::kSavedWheelStep), QString::number(step)}});
    emit changed();
    return kept;
}

bool PointerSettings::lbl_IsControlClick() {
    const bool on = !precisionOn_;
    if (!apply(PointerSetting::Precision, {.precision = on})) return false;
    precisionOn_ = on;
    values_.precision = on;
    emit changed();
    return true;
}

bool PointerSettings::lbl_IsScreenClick() {
    const bool on = !wholeScreen_;
    const int lines = on ? -1 : std::max(savedWheelStep_, 1);
    if (!apply(PointerSetting::WholeScreen, {.wheelLines = lines})) return false;
    wholeScreen_ = on;
    wheelStep_ = lines;
    if (!on) savedWheelStep_ = lines;
    values_.wheelLines = lines;
    emit changed();
    return true;
}

void PointerSettings::refresh() {
    if (desktop_) {
        const PointerValues v = desktop_->read();
        if (v.speed) {
            values_.speed = v.speed;
            if (const auto step = stepOfSensitivity(*v.speed)) speedStep_ = *step;
        }
        if (v.precision) {
            values_.precision = v.precision;
            precisionOn_ = *v.precision;
        }
        if (v.doubleClickMs) {
            values_.doubleClickMs = v.doubleClickMs;
            if (const auto step = stepOfDoubleClick(*v.doubleClickMs)) doubleClickStep_ = *step;
        }
        if (v.wheelLines) showWheelLines(*v.wheelLines);
    }
    emit changed();
}

void PointerSettings::showWheelLines(int n) {
    values_.wheelLines = n;
    if (n == -1) {
        wholeScreen_ = true;
        wheelStep_ = -1;
        // The step kept from the last wheel click, 1 when none is known.
        std::optional<int> saved;
        if (const auto s = store_.readSection(QLatin1String(pointer_store::kDesktop)))
            saved = valueOf(*s, pointer_store::kSavedWheelStep);
        savedWheelStep_ = saved && *saved >= 1 && *saved <= 11 ? *saved : 1;
        return;
    }
    wholeScreen_ = false;
    if (n >= 1 && n <= 11) wheelStep_ = n;
    // Lines outside the scale while whole-screen scrolling was on: the step is no longer
    // known, so the toggle (off) and the next change agree.
    else if (wheelStep_ < 0) wheelStep_ = 0;
    savedWheelStep_ = wheelStep_;
    wheelBarStep_ = wheelStep_;
}

}  // namespace nivra
