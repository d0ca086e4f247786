// The layout-table reader: line rules, typed getters and their errors.
#include "skin/ini_reader.h"

#include <gtest/gtest.h>

namespace nivra::skin {
namespace {

// A table in the shape of the shipped ones: banner rulers, comments, blanks, CRLF lines.
const char* const kTable =
    "key_before_any_section=5\r\n"
    "//****************************\r\n"
    "// Family A: Confirm and Exit\r\n"
    "[org1]\r\n"
    ";Btn_A2_X=999\r\n"
    "M_L_W = 190\r\n"
    "Btn_A2_Enable=1 \r\n"
    "\tSize_A\t=\t11\t\r\n"
    "Btn_A3_Enable=0\n"
    "Dup=1\n"
    "dup=2\n"
    "Neg=-12\n"
    "Web=http://example.invalid/a b=c\n"
    "Path=\n"
    "Bad=12a\n"
    "Hex=0x10\n"
    "Inner=1 2\n"
    "Huge=99999999999\n"
    "Color_G_SP_R=1\nColor_G_SP_G=83\nColor_G_SP_B=133\n"
    "Color_X_R=256\nColor_X_G=0\nColor_X_B=0\n"
    "[ org2 ]\n"
    "M_L_W=154\n";

IniSection org1() { return IniTable::parse(QStringLiteral("ORG1"), QByteArray(kTable)).section(u"org1"); }

TEST(IniReader, LineRules) {
    const IniTable table = IniTable::parse(QStringLiteral("ORG1"), QByteArray(kTable));
    const IniSection s = table.section(u"org1");
    EXPECT_TRUE(s.exists());
    EXPECT_EQ(*s.integer(u"M_L_W"), 190);
    EXPECT_EQ(*s.integer(u"Btn_A2_Enable"), 1);
    EXPECT_EQ(*s.integer(u"Size_A"), 11);
    EXPECT_EQ(*s.integer(u"Neg"), -12);
    // A commented line sets nothing; keys and sections ignore case; the first of two wins.
    EXPECT_FALSE(s.value(u"Btn_A2_X"));
    EXPECT_EQ(*s.integer(u"m_l_w"), 190);
    EXPECT_EQ(*s.integer(u"DUP"), 1);
    // Text values keep everything after the first "=", inner blanks included.
    EXPECT_EQ(*s.text(u"Web"), QStringLiteral("http://example.invalid/a b=c"));
    EXPECT_EQ(*s.text(u"Path"), QString());
    // Sections are apart; lines before the first section belong to none.
    EXPECT_EQ(*table.section(u"ORG2").integer(u"M_L_W"), 154);
    EXPECT_FALSE(s.value(u"key_before_any_section"));
    EXPECT_FALSE(table.hasSection(u"org3"));
}

TEST(IniReader, SwitchIsOnOnlyForOne) {
    const IniSection s = org1();
    EXPECT_TRUE(*s.switchOn(u"Btn_A2_Enable"));
    EXPECT_FALSE(*s.switchOn(u"Btn_A3_Enable"));
    EXPECT_FALSE(*s.switchOn(u"Neg"));
}

TEST(IniReader, ErrorsNameTableSectionAndKey) {
    const IniSection s = org1();
    struct Case {
        const char16_t* key;
        const char* expected;
    };
    const Case cases[] = {
        {u"Btn_A2_X", "ORG1 [org1]: key \"Btn_A2_X\" is missing"},
        {u"Bad", "ORG1 [org1]: key \"Bad\" is not a whole number: \"12a\""},
        {u"Hex", "ORG1 [org1]: key \"Hex\" is not a whole number: \"0x10\""},
        {u"Inner", "ORG1 [org1]: key \"Inner\" is not a whole number: \"1 2\""},
        {u"Huge", "ORG1 [org1]: key \"Huge\" is not a whole number: \"99999999999\""},
        {u"Path", "ORG1 [org1]: key \"Path\" is not a whole number: \"\""},
    };
    for (const Case& c : cases) {
        const Checked<int> n = s.integer(c.key);
        ASSERT_FALSE(n.ok()) << QString::fromUtf16(c.key).toStdString();
        EXPECT_EQ(n.error().toStdString(), c.expected);
        EXPECT_FALSE(s.switchOn(c.key).ok());
    }
    EXPECT_EQ(s.text(u"Nope").error().toStdString(), "ORG1 [org1]: key \"Nope\" is missing");
    // A table without the section reports every key missing, naming that section.
    const IniSection none = IniTable::parse(QStringLiteral("ORG3"), QByteArray(kTable)).section(u"org3");
    EXPECT_FALSE(none.exists());
    EXPECT_EQ(none.integer(u"M_L_W").error().toStdString(), "ORG3 [org3]: key \"M_L_W\" is missing");
}

TEST(IniReader, Colours) {
    const IniSection s = org1();
    const Checked<Colour> sp = s.colour(u"Color_G_SP");
    ASSERT_TRUE(sp.ok()) << sp.error().toStdString();
    EXPECT_EQ(*sp, 1 + 256 * 83 + 65536 * 133);
    EXPECT_EQ(toQColor(*sp), QColor(1, 83, 133));
    EXPECT_EQ(s.colour(u"Color_X").error().toStdString(), "ORG1 [org1]: key \"Color_X_R\" is 256, not 0..255");
    EXPECT_EQ(s.colour(u"Color_Q").error().toStdString(), "ORG1 [org1]: key \"Color_Q_R\" is missing");
}

TEST(IniReader, LayoutReaderKeepsTheFirstError) {
    LayoutReader r(org1());
    EXPECT_EQ(r.integer(u"M_L_W"), 190);
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.integer(u"Bad"), 0);
    EXPECT_EQ(r.integer(u"M_L_W"), 0);  // nothing more is read after an error
    EXPECT_EQ(r.integer(u"Missing"), 0);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(r.error().toStdString(), "ORG1 [org1]: key \"Bad\" is not a whole number: \"12a\"");
}

}  // namespace
}  // namespace nivra::skin
