// The reader of the layout tables (ini text: [section], key=value, ";" comments) with typed
// getters that report a missing key or a bad number as an error naming the table and key.
#pragma once

#include "skin/colour.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <utility>

namespace nivra::skin {

// A value or the text of the error that stopped it. Nothing here throws.
template <class T>
class Checked {
public:
    Checked(T value) : value_(std::move(value)) {}
    static Checked failure(QString message) {
        Checked c;
        c.error_ = std::move(message);
        return c;
    }
    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& operator*() const { return *value_; }
    const T* operator->() const { return &*value_; }
    T valueOr(T fallback) const { return value_ ? *value_ : std::move(fallback); }
    const QString& error() const { return error_; }

private:
    Checked() = default;
    std::optional<T> value_;
    QString error_;
};

class IniTable;

// One section of a table (a cheap copy that stays valid without the table). Key lookups ignore letter case; when a key appears twice the first
// one counts.
class IniSection {
public:
    const QString& tableName() const { return table_; }
    const QString& sectionName() const { return section_; }
    bool exists() const { return exists_; }

    // The value as written (blanks around it removed), or nothing for a missing key.
    std::optional<QString> value(QStringView key) const;
    // The value, or "" for a missing key (language texts).
    QString textOrEmpty(QStringView key) const;
    // Every key (lower-case) and its value.
    const QHash<QString, QString>& entries() const { return values_; }

    // Text value; error for a missing key.
    Checked<QString> text(QStringView key) const;
    // Decimal integer (optional sign); error for a missing key or a value that is not one.
    Checked<int> integer(QStringView key) const;
    // A switch is on only when its value is exactly 1; error as for integer().
    Checked<bool> switchOn(QStringView key) const;
    // The colour of PREFIX_R, PREFIX_G, PREFIX_B, each 0..255.
    Checked<Colour> colour(QStringView prefix) const;

    // "ORG1 [org1]: ..." — the start of every error message about this section.
    QString describe(const QString& problem) const;

private:
    friend class IniTable;
    QString table_;
    QString section_;
    bool exists_ = false;
    QHash<QString, QString> values_;  // shared with the table, so a section outlives it
};

// A whole table. Lines: "[name]" opens a section, "key=value" sets a key, a line beginning
// with ";" and a line without "=" set nothing; blanks at the ends of a line and around the
// first "=" are ignored. Lines before the first section belong to none.
class IniTable {
public:
    IniTable() = default;
    // TABLENAME ("ORG1") only names the table in error messages.
    static IniTable parse(const QString& tableName, QStringView text);
    // 8-bit table text, read as UTF-8.
    static IniTable parse(const QString& tableName, const QByteArray& bytes);
    // The same from lines already split: each entry is one line even when it holds a line
    // break (a quoted language-table entry may), so such a value is kept whole.
    static IniTable parseLines(const QString& tableName, const QStringList& lines);

    const QString& name() const { return name_; }
    bool hasSection(QStringView section) const;
    // The section (an empty one that reports every key missing when there is none).
    IniSection section(QStringView section) const;

private:
    void addLine(QStringView line, QHash<QString, QString>*& current);
    QString name_;
    QHash<QString, QHash<QString, QString>> sections_;  // keys lower-case
};

// Reads many keys of one section and keeps the first error: after it every getter returns
// 0, false or "" and reads nothing more, so a pass can read all it needs and check once.
class LayoutReader {
public:
    explicit LayoutReader(IniSection section) : section_(std::move(section)) {}

    int integer(QStringView key);
    bool switchOn(QStringView key);
    Colour colour(QStringView prefix);
    QString text(QStringView key);

    bool ok() const { return error_.isEmpty(); }
    // The first error, or "" when every read succeeded.
    const QString& error() const { return error_; }
    const IniSection& section() const { return section_; }

private:
    template <class T>
    T take(const Checked<T>& result, T fallback);
    IniSection section_;
    QString error_;
};

// Loads the layout table resource NAME ("ORG", "ORG1".."ORG3"); an error when it is missing.
Checked<IniTable> loadLayoutTable(const QString& name);

}  // namespace nivra::skin
