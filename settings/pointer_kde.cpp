// KDE Plasma's pointer settings: double-click interval and wheel lines in kdeglobals ([KDE]),
// the mouse's acceleration in kcminputrc, applied at once through KWin's input devices on
// Wayland or the X11 devices in an X11 session. Plasma's programs are told over D-Bus that
// kdeglobals changed.
#include "settings/pointer_backends.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <QTextStream>

#ifdef NIVRA_HAVE_QTDBUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QDBusVariant>
#endif

#include <cmath>

namespace nivra {

namespace {

bool readLines(const QString& path, QStringList& lines) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) lines << in.readLine();
    return true;
}

bool isGroupLine(const QString& line) { return line.trimmed().startsWith(QLatin1Char('[')); }

// "[KDE]" or "[KDE][$i]" (immutable) for the group "KDE".
bool isGroup(const QString& line, const QString& group, bool* immutable = nullptr) {
    const QString t = line.trimmed();
    const QString header = QLatin1Char('[') + group + QLatin1Char(']');
    if (t == header) return true;
    if (t == header + QStringLiteral("[$i]")) {
        if (immutable) *immutable = true;
        return true;
    }
    return false;
}

// The key of a "key=value" line, without a locale or flag suffix ("Key[$i]").
QString keyOf(const QString& line, bool* immutable = nullptr) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0 || line.trimmed().startsWith(QLatin1Char('#'))) return {};
    QString key = line.left(eq).trimmed();
    if (key.endsWith(QStringLiteral("[$i]"))) {
        if (immutable) *immutable = true;
        key.chop(4);
    }
    return key;
}

}  // namespace

std::optional<QString> kconfigValue(const QString& path, const QString& group, const QString& key) {
    QStringList lines;
    if (!readLines(path, lines)) return std::nullopt;
    bool in = false;
    std::optional<QString> value;
    for (const QString& line : lines) {
        if (isGroupLine(line)) {
            in = isGroup(line, group);
            continue;
        }
        // A key given twice: the later line counts, as in KDE's own reader.
        if (in && keyOf(line) == key) value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    }
    return value;
}

bool setKconfigValues(const QString& path, const QString& group, const std::vector<std::pair<QString, QString>>& values) {
    QStringList lines;
    readLines(path, lines);
    if (!lines.isEmpty() && lines.first().trimmed() == QStringLiteral("[$i]")) return false;  // whole file locked
    qsizetype groupAt = -1, groupEnd = lines.size();
    bool immutable = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!isGroupLine(lines[i])) continue;
        if (groupAt >= 0) {
            groupEnd = i;
            break;
        }
        if (isGroup(lines[i], group, &immutable)) groupAt = i;
    }
    if (immutable) return false;
    if (groupAt < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty()) lines << QString();
        lines << QLatin1Char('[') + group + QLatin1Char(']');
        groupAt = lines.size() - 1;
        groupEnd = lines.size();
    }
    for (const auto& [key, value] : values) {
        qsizetype at = -1;
        for (qsizetype i = groupAt + 1; i < groupEnd; ++i) {
            bool locked = false;
            if (keyOf(lines[i], &locked) != key) continue;
            if (locked) return false;
            at = i;
        }
        if (at >= 0) {
            lines[at] = key + QLatin1Char('=') + value;
            continue;
        }
        // After the group's last non-empty line.
        qsizetype insertAt = groupEnd;
        while (insertAt > groupAt + 1 && lines[insertAt - 1].trimmed().isEmpty()) --insertAt;
        lines.insert(insertAt, key + QLatin1Char('=') + value);
        ++groupEnd;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
    QTextStream out(&f);
    out.setEncoding(QStringConverter::Utf8);
    for (const QString& line : lines) out << line << '\n';
    out.flush();
    return f.commit();
}

namespace {

constexpr int kKdeDoubleClickDefault = 400;  // what Plasma uses while kdeglobals holds none
constexpr int kKdeWheelLinesDefault = 3;
// libinput's profile numbers as KWin keeps them.
constexpr int kProfileFlat = 1;
constexpr int kProfileAdaptive = 2;

std::optional<int> intOf(const std::optional<QString>& text) {
    bool ok = false;
    const int v = text ? text->toInt(&ok) : 0;
    return ok ? std::optional<int>(v) : std::nullopt;
}

class KdePointerBackend final : public PointerBackend {
public:
    KdePointerBackend(QString configDir, KdeLinks links)
        : globals_(configDir + QStringLiteral("/kdeglobals")),
          input_(configDir + QStringLiteral("/kcminputrc")),
          links_(std::move(links)) {}

    QString name() const override { return QStringLiteral("KDE"); }
    bool holds(PointerSetting s) const override { return s != PointerSetting::WholeScreen; }

    PointerValues read() override {
        PointerValues v;
        const QString kde = QStringLiteral("KDE");
        v.doubleClickMs = intOf(kconfigValue(globals_, kde, QStringLiteral("DoubleClickInterval"))).value_or(kKdeDoubleClickDefault);
        const int lines = intOf(kconfigValue(globals_, kde, QStringLiteral("WheelScrollLines"))).value_or(kKdeWheelLinesDefault);
        if (lines >= 1) v.wheelLines = lines;
        // The devices show what is in effect; the file what the next session starts with.
        PointerValues live;
        if (links_.kwin) live = links_.kwin->read();
        else if (links_.x11) live = links_.x11->read();
        const QString mouse = QStringLiteral("Mouse");
        if (live.speed) {
            v.speed = live.speed;
        } else {
            bool ok = false;
            const auto text = kconfigValue(input_, mouse, QStringLiteral("XLbInptPointerAcceleration"));
            const double d = text ? text->toDouble(&ok) : 0.0;
            v.speed = speedOfDesktop(ok ? d : 0.0);
        }
        if (live.precision) v.precision = live.precision;
        else v.precision = kconfigValue(input_, mouse, QStringLiteral("XLbInptAccelProfileFlat")) != QStringLiteral("true");
        return v;
    }

    bool write(const PointerValues& v) override {
        bool ok = true;
        std::vector<std::pair<QString, QString>> globals;
        if (v.doubleClickMs) globals.push_back({QStringLiteral("DoubleClickInterval"), QString::number(*v.doubleClickMs)});
        if (v.wheelLines) {
            if (*v.wheelLines < 1) return false;  // Plasma has no whole-screen scrolling
            globals.push_back({QStringLiteral("WheelScrollLines"), QString::number(*v.wheelLines)});
        }
        if (!globals.empty()) {
            ok = setKconfigValues(globals_, QStringLiteral("KDE"), globals) && ok;
            if (ok && links_.notifySettingsChanged) links_.notifySettingsChanged();
        }
        if (v.speed || v.precision) ok = writeAcceleration(v) && ok;
        return ok;
    }

private:
    bool writeAcceleration(const PointerValues& v) {
        PointerValues pointer;
        pointer.speed = v.speed;
        pointer.precision = v.precision;
        std::vector<std::pair<QString, QString>> mouse;
        std::vector<std::pair<QString, QString>> device;
        if (v.speed) {
            const QString d = QString::number(desktopSpeedOf(*v.speed), 'f', 3);
            mouse.push_back({QStringLiteral("XLbInptPointerAcceleration"), d});
            device.push_back({QStringLiteral("PointerAcceleration"), d});
        }
        if (v.precision) {
            mouse.push_back({QStringLiteral("XLbInptAccelProfileFlat"), *v.precision ? QStringLiteral("false") : QStringLiteral("true")});
            device.push_back({QStringLiteral("PointerAccelerationProfile"), QString::number(*v.precision ? kProfileAdaptive : kProfileFlat)});
        }
        // [Mouse] is what Plasma applies to an X11 session's devices at login.
        bool ok = setKconfigValues(input_, QStringLiteral("Mouse"), mouse);
        if (links_.kwin) {
            ok = links_.kwin->write(pointer) && ok;
            // KWin on Wayland keeps each device's settings in a group of its own.
            for (const QString& group : links_.kwin->configGroups()) ok = setKconfigValues(input_, group, device) && ok;
        } else if (links_.x11) {
            ok = links_.x11->write(pointer) && ok;
        }
        return ok;
    }

    QString globals_;
    QString input_;
    KdeLinks links_;
};

#ifdef NIVRA_HAVE_QTDBUS
constexpr const char* kKwin = "org.kde.KWin";
constexpr const char* kDeviceInterface = "org.kde.KWin.InputDevice";

std::optional<QVariant> dbusProperty(const QString& path, const char* interface, const char* name) {
    QDBusMessage m = QDBusMessage::createMethodCall(QLatin1String(kKwin), path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                    QStringLiteral("Get"));
    m << QLatin1String(interface) << QLatin1String(name);
    const QDBusReply<QDBusVariant> reply = QDBusConnection::sessionBus().call(m, QDBus::Block, 2000);
    if (!reply.isValid()) return std::nullopt;
    return reply.value().variant();
}

bool setDbusProperty(const QString& path, const char* name, const QVariant& value) {
    QDBusMessage m = QDBusMessage::createMethodCall(QLatin1String(kKwin), path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                    QStringLiteral("Set"));
    m << QLatin1String(kDeviceInterface) << QLatin1String(name) << QVariant::fromValue(QDBusVariant(value));
    return QDBusConnection::sessionBus().call(m, QDBus::Block, 2000).type() == QDBusMessage::ReplyMessage;
}

class DbusKwinPointerDevices final : public KwinPointerDevices {
public:
    explicit DbusKwinPointerDevices(QStringList paths) : paths_(std::move(paths)) {}

    std::vector<QString> configGroups() override {
        std::vector<QString> out;
        for (const QString& p : paths_) {
            const auto vendor = dbusProperty(p, kDeviceInterface, "vendor");
            const auto product = dbusProperty(p, kDeviceInterface, "product");
            const auto name = dbusProperty(p, kDeviceInterface, "name");
            if (vendor && product && name)
                out.push_back(QStringLiteral("Libinput][%1][%2][%3").arg(vendor->toUInt()).arg(product->toUInt()).arg(name->toString()));
        }
        return out;
    }

    PointerValues read() override {
        PointerValues v;
        for (const QString& p : paths_) {
            const auto speed = dbusProperty(p, kDeviceInterface, "pointerAcceleration");
            const auto flat = dbusProperty(p, kDeviceInterface, "pointerAccelerationProfileFlat");
            if (!speed) continue;
            v.speed = speedOfDesktop(speed->toDouble());
            if (flat) v.precision = !flat->toBool();
            break;
        }
        return v;
    }

    bool write(const PointerValues& v) override {
        bool ok = !paths_.empty();
        for (const QString& p : paths_) {
            if (v.speed) ok = setDbusProperty(p, "pointerAcceleration", desktopSpeedOf(*v.speed)) && ok;
            if (v.precision) {
                ok = setDbusProperty(p, "pointerAccelerationProfileFlat", !*v.precision) && ok;
                ok = setDbusProperty(p, "pointerAccelerationProfileAdaptive", *v.precision) && ok;
            }
        }
        return ok;
    }

private:
    QStringList paths_;  // the mice among KWin's input devices
};
#endif

}  // namespace

std::unique_ptr<PointerBackend> kdePointerBackend(QString configDir, KdeLinks links) {
    return std::make_unique<KdePointerBackend>(std::move(configDir), std::move(links));
}

std::unique_ptr<KwinPointerDevices> openKwinPointerDevices() {
#ifdef NIVRA_HAVE_QTDBUS
    if (!QDBusConnection::sessionBus().isConnected()) return nullptr;
    const auto names = dbusProperty(QStringLiteral("/org/kde/KWin/InputDevice"), "org.kde.KWin.InputDeviceManager", "devicesSysNames");
    if (!names) return nullptr;
    QStringList mice;
    for (const QString& sys : names->toStringList()) {
        const QString path = QStringLiteral("/org/kde/KWin/InputDevice/") + sys;
        const auto pointer = dbusProperty(path, kDeviceInterface, "pointer");
        const auto touchpad = dbusProperty(path, kDeviceInterface, "touchpad");
        if (pointer && pointer->toBool() && !(touchpad && touchpad->toBool())) mice << path;
    }
    return std::make_unique<DbusKwinPointerDevices>(mice);
#else
    return nullptr;
#endif
}

void notifyKdeMouseSettingsChanged() {
#ifdef NIVRA_HAVE_QTDBUS
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    // Plasma 5's programs: "settings changed" (3) for the mouse category (0).
    QDBusMessage old = QDBusMessage::createSignal(QStringLiteral("/KGlobalSettings"), QStringLiteral("org.kde.KGlobalSettings"),
                                                  QStringLiteral("notifyChange"));
    old << 3 << 0;
    bus.send(old);
    // Plasma 6's programs watch the file's groups and keys.
    using Changes = QHash<QString, QByteArrayList>;
    qDBusRegisterMetaType<Changes>();
    QDBusMessage watch = QDBusMessage::createSignal(QStringLiteral("/kdeglobals"), QStringLiteral("org.kde.kconfig.notify"),
                                                    QStringLiteral("ConfigChanged"));
    watch << QVariant::fromValue(Changes{{QStringLiteral("KDE"), {"DoubleClickInterval", "WheelScrollLines"}}});
    bus.send(watch);
#endif
}

}  // namespace nivra
