// The shipped layout tables: ORG3 is ORG1, ORG2 differs where the traditional-Chinese layout
// does, and every value the switches of the program rely on is as shipped.
#include "skin/ini_reader.h"
#include "skin/resources.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

namespace nivra::skin {
namespace {

QString body(const QString& table) {
    QString text = QString::fromUtf8(resource(table).value_or(QByteArray()));
    text.remove(QRegularExpression(QStringLiteral("^\\[org\\d\\]"), QRegularExpression::MultilineOption));
    return text;
}

TEST(LayoutTables, Org3IsOrg1) {
    ASSERT_FALSE(body(QStringLiteral("ORG1")).isEmpty());
    EXPECT_EQ(body(QStringLiteral("ORG1")), body(QStringLiteral("ORG3")));
}

TEST(LayoutTables, ShippedSwitchesOfOrg1AndOrg2) {
    const IniTable org1 = *loadLayoutTable(QStringLiteral("ORG1"));
    const IniTable org2 = *loadLayoutTable(QStringLiteral("ORG2"));
    const IniSection s1 = org1.section(u"org1"), s2 = org2.section(u"org2");
    const struct { const char* key; int org1, org2; } cases[] = {
        {"Btn_A2_Enable", 1, 1}, {"Btn_A3_Enable", 0, 1}, {"Btn_A5_Enable", 0, 1}, {"Btn_A4_Enable", 1, 1},
        {"Btn_A6_Enable", 1, 0}, {"Btn_B3_Enable", 0, 0}, {"Btn_B12_Enable", 0, 0}, {"Btn_B8_Enable", 0, 1},
        {"Btn_B10_Enable", 0, 1}, {"Size_B", 12, 11},     {"Size_K", 12, 9},       {"Size_L", 12, 9},
        {"Size_M", 12, 9},       {"Key7_Enable", 1, 1},   {"Key8_Enable", 0, 0},   {"ComboKey2_Enable", 1, 1},
        {"ComboKey8_Enable", 0, 0}, {"DPI_Orientation", 1, 1}, {"StepTime_D", 1, 1}, {"MacroNameHeight", 20, 20},
        {"Color_D_Border_B", 0, 189}, {"Color_F_LBorder_G", 255, 114}, {"Color_J_Border_R", 255, 45},
        {"M_L_W", 190, 190},     {"SP_L_W", 166, 166},    {"O_L_W", 154, 154},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(s1.integer(QString::fromLatin1(c.key)).valueOr(-1), c.org1) << "ORG1 " << c.key;
        EXPECT_EQ(s2.integer(QString::fromLatin1(c.key)).valueOr(-1), c.org2) << "ORG2 " << c.key;
    }
}

}  // namespace
}  // namespace nivra::skin
