// Reading of the UTF-16LE language tables and the search for a text's language id.
#include "skin/language_table.h"

#include "skin/resources.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringDecoder>

namespace nivra::skin {

namespace {
bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// Qt's UTF-16 decoder passes lone surrogates through; they are no text, so refuse them.
bool hasLoneSurrogate(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (text[i].isSurrogate()) {
            return true;
        }
    }
    return false;
}
// The number of a key "str0".."str800" written without leading zeros, or -1 for any other key.
int searchableNumber(const QString& lowerKey) {
    if (!lowerKey.startsWith(u"str")) return -1;
    const QStringView digits = QStringView(lowerKey).sliced(3);
    if (digits.isEmpty() || digits.size() > 3 || (digits.size() > 1 && digits[0] == u'0')) return -1;
    int n = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9') return -1;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n <= 800 ? n : -1;
}

}  // namespace

Checked<QStringList> languageTokens(const QString& tableName, QStringView text) {
    QStringList tokens;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        while (i < n && isBlank(text[i])) ++i;
        if (i == n) break;
        QString token;
        if (text[i] == u'"') {
            ++i;
            bool closed = false;
            while (i < n) {
                if (text[i] == u'"') {
                    if (i + 1 < n && text[i + 1] == u'"') {
                        token += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                token += text[i++];
            }
            if (!closed)
                return Checked<QStringList>::failure(
                    QStringLiteral("%1: a quoted entry is not closed: \"%2").arg(tableName, token.left(40)));
        } else {
            while (i < n && !isBlank(text[i])) token += text[i++];
        }
        tokens << token;
    }
    return tokens;
}

Checked<LanguageTable> LanguageTable::parse(int number, const QByteArray& bytes) {
    const QString name = QStringLiteral("LANG%1").arg(number);
    const QString header = QStringLiteral("[lang%1]").arg(number);
    if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
        static_cast<unsigned char>(bytes[1]) != 0xFE)
        return Checked<LanguageTable>::failure(
            QStringLiteral("%1: not UTF-16LE text (no byte-order mark FF FE)").arg(name));
    if (bytes.size() % 2 != 0)
        return Checked<LanguageTable>::failure(
            QStringLiteral("%1: odd number of bytes for UTF-16 text").arg(name));

    QStringDecoder decode(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless);
    const QString text = decode(QByteArrayView(bytes).sliced(2));
    if (decode.hasError() || hasLoneSurrogate(text))
        return Checked<LanguageTable>::failure(QStringLiteral("%1: broken UTF-16 text").arg(name));

    const Checked<QStringList> tokens = languageTokens(name, text);
    if (!tokens) return Checked<LanguageTable>::failure(tokens.error());
    if (tokens->isEmpty() || tokens->front().compare(header, Qt::CaseInsensitive) != 0)
        return Checked<LanguageTable>::failure(
            QStringLiteral("%1: does not begin with %2").arg(name, header));

    LanguageTable table;
    table.number_ = number;
    table.section_ = IniTable::parseLines(name, *tokens).section(header.mid(1, header.size() - 2));
    for (auto it = table.section_.entries().cbegin(); it != table.section_.entries().cend(); ++it) {
        const int n = searchableNumber(it.key());
        if (n >= 0 && n > table.searchable_.value(it.value(), -1)) table.searchable_.insert(it.value(), n);
    }
    return table;
}

Checked<LanguageTable> LanguageTable::load(int number) {
    const QString name = QStringLiteral("LANG%1").arg(number);
    const auto bytes = resource(name);
    if (!bytes) return Checked<LanguageTable>::failure(QStringLiteral("%1: no such language table").arg(name));
    return parse(number, *bytes);
}

QString FindLanguageId(std::span<const LanguageTable* const> tables, const QString& text) {
    if (text.isEmpty()) return {};
    // Same result as trying "Str0".."Str800" in every table in turn, from an index built
    // when each table was read.
    int found = -1;
    for (const LanguageTable* table : tables) {
        if (table == nullptr) continue;
        const int n = table->searchableIdFor(text);
        if (n >= 0) found = n;
    }
    return found < 0 ? QString() : QStringLiteral("Str%1").arg(found);
}

Checked<LanguageSet> LanguageSet::fromTables(std::array<LanguageTable, kLanguageCount> tables) {
    LanguageSet set;
    set.tables_ = std::move(tables);
    return set;
}

Checked<LanguageSet> LanguageSet::loadBuiltIn() {
    std::array<LanguageTable, kLanguageCount> tables;
    for (int n = 1; n <= kLanguageCount; ++n) {
        Checked<LanguageTable> t = LanguageTable::load(n);
        if (!t) return Checked<LanguageSet>::failure(t.error());
        tables[n - 1] = *t;
    }
    return fromTables(std::move(tables));
}

const LanguageTable& LanguageSet::table(int number) const {
    return tables_[(number >= 1 && number <= kLanguageCount) ? number - 1 : 0];
}

QString LanguageSet::FindLanguageId(const QString& text) const {
    const std::array<const LanguageTable*, kLanguageCount> order{&tables_[0], &tables_[1], &tables_[2]};
    return skin::FindLanguageId(order, text);
}

QString LanguageSet::translate(const QString& text, int number) const {
    const QString id = FindLanguageId(text);
    return id.isEmpty() ? text : table(number).text(id);
}

const Checked<LanguageSet>& builtInLanguages() {
    static const Checked<LanguageSet> set = LanguageSet::loadBuiltIn();
    return set;
}

std::string builtInText(int number, std::string_view id) {
    const Checked<LanguageSet>& set = builtInLanguages();
    if (!set) return {};
    return set->table(number).text(QString::fromUtf8(id.data(), static_cast<qsizetype>(id.size()))).toStdString();
}

}  // namespace nivra::skin

namespace nivra::skin {

QString availableFontFamily(const QString& family, const QStringList& fallbacks) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return family;
    if (!family.isEmpty() && QFontDatabase::hasFamily(family)) return family;
    for (const QString& f : fallbacks)
        if (QFontDatabase::hasFamily(f)) return f;
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QString LanguageTable::fontFamily() const {
    // Families with the glyphs of each language on common Linux desktops.
    static const QStringList simplified{QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC"),
                                        QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK TC")};
    static const QStringList traditional{QStringLiteral("Noto Sans CJK TC"), QStringLiteral("Source Han Sans TC"),
                                         QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")};
    static const QStringList latin{QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
                                   QStringLiteral("Noto Sans")};
    const QStringList& fallbacks = number_ == 1 ? simplified : number_ == 2 ? traditional : latin;
    return availableFontFamily(fontName(), fallbacks);
}

}  // namespace nivra::skin
