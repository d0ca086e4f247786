// The language tables LANG1..LANG3 (UTF-16LE with byte-order mark, quoted key=value tokens
// under a [langn] header) and FindLanguageId, which finds the id of a shown text.
#pragma once

#include "skin/ini_reader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace nivra::skin {

inline constexpr int kLanguageCount = 3;  // 1 Simplified Chinese, 2 Traditional Chinese, 3 English

class LanguageTable {
public:
    LanguageTable() = default;

    // Reads the bytes of table NUMBER (1..3): FF FE, then UTF-16LE text split into tokens at
    // blanks and line breaks, a token in double quotes taken whole without them ("" inside
    // stands for one quote). The first token must be the header [langNUMBER]; the others are
    // read as the lines of that ini section. Errors name the table.
    static Checked<LanguageTable> parse(int number, const QByteArray& bytes);
    // The built-in table "LANGn".
    static Checked<LanguageTable> load(int number);

    int number() const { return number_; }
    QString name() const { return QStringLiteral("LANG%1").arg(number_); }

    // The text of an id ("Str210", "FontName", "Title"); "" when the table has no such id.
    QString text(QStringView id) const { return section_.textOrEmpty(id); }
    bool contains(QStringView id) const { return section_.value(id).has_value(); }
    QString fontName() const { return text(u"FontName"); }
    // The family to draw this language's texts with: "FontName" when that font is installed,
    // else the first installed family of this language's fallbacks, else the desktop's font.
    QString fontFamily() const;
    QString title() const { return text(u"Title"); }
    const IniSection& section() const { return section_; }
    // The highest n in 0..800 whose key "Strn" (no leading zeros) holds TEXT, or -1.
    int searchableIdFor(const QString& text) const { return searchable_.value(text, -1); }

private:
    int number_ = 0;
    IniSection section_;
    QHash<QString, int> searchable_;  // text -> highest searchable id number
};

// FAMILY when it is installed, else the first installed of FALLBACKS, else the desktop's
// general font. Fonts can only be checked in a running QGuiApplication; without one FAMILY
// comes back unchanged.
QString availableFontFamily(const QString& family, const QStringList& fallbacks = {});

// Splits language-table text into its tokens; an unclosed quote is an error naming TABLENAME.
Checked<QStringList> languageTokens(const QString& tableName, QStringView text);

// The id whose text equals TEXT exactly: each table in the order given (LANG1, LANG2, LANG3),
// each key "Str0".."Str800" (decimal, no leading zeros); a later table, then a higher number,
// wins. "" when none matches. An empty TEXT matches nothing: ids that hold an empty text
// ("Str101") must not turn an empty caption into another language's message.
QString FindLanguageId(std::span<const LanguageTable* const> tables, const QString& text);

// The three built-in tables, read once.
class LanguageSet {
public:
    static Checked<LanguageSet> loadBuiltIn();
    static Checked<LanguageSet> fromTables(std::array<LanguageTable, kLanguageCount> tables);

    // NUMBER 1..3; any other number gives table 1.
    const LanguageTable& table(int number) const;
    QString FindLanguageId(const QString& text) const;
    // The text of TEXT's id in table NUMBER; TEXT itself when no table holds it.
    QString translate(const QString& text, int number) const;

private:
    std::array<LanguageTable, kLanguageCount> tables_;
};

// The built-in tables, loaded on first use and kept for the run; the error of a broken table
// stays with them.
const Checked<LanguageSet>& builtInLanguages();

// The text of ID in built-in table NUMBER (1..3) as UTF-8; "" when the id is missing or the
// tables are broken. Fits the plain-C++ language lookups of the image layer.
std::string builtInText(int number, std::string_view id);

}  // namespace nivra::skin
