// The language-table reader and FindLanguageId.
#include "skin/language_table.h"

#include <gtest/gtest.h>

namespace nivra::skin {
namespace {

QByteArray utf16WithBom(const QString& text) {
    QByteArray bytes("\xFF\xFE", 2);
    for (QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

LanguageTable table(int number, const QString& text) {
    const Checked<LanguageTable> t = LanguageTable::parse(number, utf16WithBom(text));
    EXPECT_TRUE(t.ok()) << t.error().toStdString();
    return t.valueOr(LanguageTable());
}

TEST(LanguageTable, Tokens) {
    const LanguageTable t = table(3, QStringLiteral(
        "[lang3]\r\n\r\n"
        "\"FontName=DejaVu Sans\"  \"Str001=Confirm 1\"\n"
        "\t\"Str700='Back'+'Right Key' Switch LED Mode\"\n"
        "Str002=Unquoted\n"
        "\"Str003 = padded \"\n"
        "\"Str004=say \"\"hi\"\"\"\n"
        "\"Str101=\"\n"
        "\"Str210=左键\"\n"
        "\"Str100=first line\r\nsecond line\" \"Str102=after\"\n"));
    EXPECT_EQ(t.fontName(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(t.text(u"Str001"), QStringLiteral("Confirm 1"));
    EXPECT_EQ(t.text(u"Str700"), QStringLiteral("'Back'+'Right Key' Switch LED Mode"));
    EXPECT_EQ(t.text(u"Str002"), QStringLiteral("Unquoted"));
    EXPECT_EQ(t.text(u"Str003"), QStringLiteral("padded"));
    EXPECT_EQ(t.text(u"Str004"), QStringLiteral("say \"hi\""));
    EXPECT_EQ(t.text(u"Str210"), QStringLiteral("左键"));
    // A quoted entry is one token even across a line break; its value is kept whole.
    EXPECT_EQ(t.text(u"Str100"), QStringLiteral("first line\r\nsecond line"));
    EXPECT_EQ(t.text(u"Str102"), QStringLiteral("after"));
    EXPECT_TRUE(t.contains(u"Str101"));
    EXPECT_EQ(t.text(u"Str101"), QString());
    // A missing id is an empty text, not a failure.
    EXPECT_FALSE(t.contains(u"Str999"));
    EXPECT_EQ(t.text(u"Str999"), QString());
    EXPECT_EQ(t.title(), QString());
}

TEST(LanguageTable, BrokenTablesAreErrorsNamingTheTable) {
    struct Case {
        QByteArray bytes;
        const char* expected;
    };
    const Case cases[] = {
        {QByteArray("[\0l\0", 4), "LANG2: not UTF-16LE text (no byte-order mark FF FE)"},
        {QByteArray("\xEF\xBB\xBF[lang2]", 10), "LANG2: not UTF-16LE text (no byte-order mark FF FE)"},
        {utf16WithBom(QStringLiteral("[lang2]")) + '\0', "LANG2: odd number of bytes for UTF-16 text"},
        {utf16WithBom(QStringLiteral("[lang3] \"Str001=x\"")), "LANG2: does not begin with [lang2]"},
        {utf16WithBom(QString()), "LANG2: does not begin with [lang2]"},
        {utf16WithBom(QStringLiteral("[lang2] \"Str001=open")), "LANG2: a quoted entry is not closed: \"Str001=open"},
        {QByteArray("\xFF\xFE\x00\xD8\x41\x00", 6), "LANG2: broken UTF-16 text"},  // lone surrogate
    };
    for (const Case& c : cases) {
        const Checked<LanguageTable> t = LanguageTable::parse(2, c.bytes);
        ASSERT_FALSE(t.ok()) << c.expected;
        EXPECT_EQ(t.error().toStdString(), c.expected);
    }
}

TEST(FindLanguageId, LaterTableAndHigherNumberWin) {
    const LanguageTable l1 = table(1, QStringLiteral(
        "[lang1] \"Str210=左键\" \"Str004=办公模式\" \"Str251=办公模式\" \"Str5=Same\" \"Str001=前导零\" \"Str101=\""));
    const LanguageTable l2 = table(2, QStringLiteral("[lang2] \"Str210=左鍵\" \"Str7=Same\""));
    const LanguageTable l3 = table(3, QStringLiteral(
        "[lang3] \"Str210=Left Key\" \"Str6=Same\" \"Str101=\" \"Str800=Last\" \"Str801=Beyond\""));
    const std::array<const LanguageTable*, 3> all{&l1, &l2, &l3};
    struct Case {
        QString text;
        const char* id;
    };
    const Case cases[] = {
        {QStringLiteral("左键"), "Str210"},
        {QStringLiteral("办公模式"), "Str251"},  // higher number wins
        {QStringLiteral("Same"), "Str6"},        // LANG3 comes last, even with a lower number
        {QStringLiteral("前导零"), ""},          // ids written with a leading zero are not searched
        {QStringLiteral("Last"), "Str800"},
        {QStringLiteral("Beyond"), ""},
        {QStringLiteral("Left key"), ""},  // exact match only
        {QStringLiteral("No such text"), ""},
        {QString(), ""},  // an empty caption does not match the empty Str101
    };
    for (const Case& c : cases) EXPECT_EQ(FindLanguageId(all, c.text).toStdString(), c.id) << c.text.toStdString();

    const Checked<LanguageSet> set = LanguageSet::fromTables({l1, l2, l3});
    EXPECT_EQ(set->translate(QStringLiteral("左键"), 3), QStringLiteral("Left Key"));
    EXPECT_EQ(set->translate(QStringLiteral("Left Key"), 2), QStringLiteral("左鍵"));
    EXPECT_EQ(set->translate(QStringLiteral("My Macro 7"), 3), QStringLiteral("My Macro 7"));
    EXPECT_EQ(set->translate(QString(), 2), QString());
}

}  // namespace
}  // namespace nivra::skin
