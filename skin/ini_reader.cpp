// The ini reader of the layout tables and its typed getters.
#include "skin/ini_reader.h"

#include "skin/resources.h"

#include <limits>

namespace nivra::skin {

namespace {

// Decimal integer with an optional sign and nothing else; no other bases, no blanks inside.
std::optional<int> parseDecimal(const QString& s) {
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
    if (i == s.size()) return std::nullopt;
    long long v = 0;
    for (; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9') return std::nullopt;
        v = v * 10 + (c - u'0');
        if (v > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return std::nullopt;
    }
    if (negative) v = -v;
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return std::nullopt;
    return static_cast<int>(v);
}

}  // namespace

std::optional<QString> IniSection::value(QStringView key) const {
    const auto it = values_.constFind(key.toString().toLower());
    if (it == values_.cend()) return std::nullopt;
    return *it;
}

QString IniSection::textOrEmpty(QStringView key) const { return value(key).value_or(QString()); }

QString IniSection::describe(const QString& problem) const {
    return QStringLiteral("%1 [%2]: %3").arg(table_, section_, problem);
}

Checked<QString> IniSection::text(QStringView key) const {
    if (auto v = value(key)) return *v;
    return Checked<QString>::failure(describe(QStringLiteral("key \"%1\" is missing").arg(key)));
}

Checked<int> IniSection::integer(QStringView key) const {
    const auto v = value(key);
    if (!v) return Checked<int>::failure(describe(QStringLiteral("key \"%1\" is missing").arg(key)));
    if (auto n = parseDecimal(*v)) return *n;
    return Checked<int>::failure(
        describe(QStringLiteral("key \"%1\" is not a whole number: \"%2\"").arg(key, *v)));
}

Checked<bool> IniSection::switchOn(QStringView key) const {
    const Checked<int> n = integer(key);
    if (!n) return Checked<bool>::failure(n.error());
    return *n == 1;
}

Checked<Colour> IniSection::colour(QStringView prefix) const {
    int parts[3] = {};
    const char16_t* suffixes[3] = {u"_R", u"_G", u"_B"};
    for (int i = 0; i < 3; ++i) {
        const QString key = prefix.toString() + QString::fromUtf16(suffixes[i]);
        const Checked<int> n = integer(key);
        if (!n) return Checked<Colour>::failure(n.error());
        // A channel above 255 would spill into the next one; refuse it instead.
        if (*n < 0 || *n > 255)
            return Checked<Colour>::failure(
                describe(QStringLiteral("key \"%1\" is %2, not 0..255").arg(key).arg(*n)));
        parts[i] = *n;
    }
    return colourFromRgb(parts[0], parts[1], parts[2]);
}

void IniTable::addLine(QStringView line, QHash<QString, QString>*& current) {
    line = line.trimmed();
    if (line.isEmpty() || line.startsWith(u';')) return;
    if (line.startsWith(u'[')) {
        const qsizetype close = line.indexOf(u']');
        if (close > 0) {
            current = &sections_[line.mid(1, close - 1).trimmed().toString().toLower()];
            return;
        }
    }
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0 || current == nullptr) return;
    const QString key = line.left(eq).trimmed().toString().toLower();
    if (key.isEmpty() || current->contains(key)) return;
    current->insert(key, line.mid(eq + 1).trimmed().toString());
}

IniTable IniTable::parse(const QString& tableName, QStringView text) {
    IniTable table;
    table.name_ = tableName;
    QHash<QString, QString>* current = nullptr;
    for (QStringView line : text.tokenize(u'\n')) table.addLine(line, current);
    return table;
}

IniTable IniTable::parseLines(const QString& tableName, const QStringList& lines) {
    IniTable table;
    table.name_ = tableName;
    QHash<QString, QString>* current = nullptr;
    for (const QString& line : lines) table.addLine(line, current);
    return table;
}

IniTable IniTable::parse(const QString& tableName, const QByteArray& bytes) {
    return parse(tableName, QString::fromUtf8(bytes));
}

bool IniTable::hasSection(QStringView section) const {
    return sections_.contains(section.toString().toLower());
}

IniSection IniTable::section(QStringView section) const {
    IniSection s;
    s.table_ = name_;
    s.section_ = section.toString();
    const auto it = sections_.constFind(section.toString().toLower());
    if (it != sections_.cend()) {
        s.exists_ = true;
        s.values_ = *it;
    }
    return s;
}

template <class T>
T LayoutReader::take(const Checked<T>& result, T fallback) {
    if (!result) {
        error_ = result.error();
        return fallback;
    }
    return *result;
}

int LayoutReader::integer(QStringView key) {
    return ok() ? take(section_.integer(key), 0) : 0;
}

bool LayoutReader::switchOn(QStringView key) {
    return ok() ? take(section_.switchOn(key), false) : false;
}

Colour LayoutReader::colour(QStringView prefix) {
    return ok() ? take(section_.colour(prefix), Colour{0}) : Colour{0};
}

QString LayoutReader::text(QStringView key) {
    return ok() ? take(section_.text(key), QString()) : QString();
}

Checked<IniTable> loadLayoutTable(const QString& name) {
    const auto bytes = resource(name);
    if (!bytes) return Checked<IniTable>::failure(QStringLiteral("%1: no such layout table").arg(name));
    return IniTable::parse(name, *bytes);
}

}  // namespace nivra::skin
