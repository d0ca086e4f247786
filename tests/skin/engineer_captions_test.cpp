// The engineer caption table: every row filled in English and Simplified Chinese, and the
// column chosen by the locale.
#include "skin/engineer_captions.h"

#include <gtest/gtest.h>

namespace nivra::skin {
namespace {

TEST(EngineerCaptions, EveryRowHasEnglishAndSimplifiedChinese) {
    for (int row = 0; row < kEngineerCaptionCount; ++row) {
        EXPECT_FALSE(EngineerCaption(row, EngineerColumn::English).isEmpty()) << row;
        EXPECT_FALSE(EngineerCaption(row, EngineerColumn::SimplifiedChinese).isEmpty()) << row;
        EXPECT_TRUE(EngineerCaption(row, EngineerColumn::TraditionalChinese).isEmpty()) << row;
    }
    // Rows at the edges of the caption groups, where an off-by-one would show, and the rows
    // whose Chinese text the engineer page's own controls carry (USB identity, gun key list).
    struct Case {
        int row;
        const char* english;
        const char* chinese;
    };
    const Case cases[] = {
        {0, "Office Mode", "办公模式"},       {13, "Load Patch Code", "载入Patch Code"},
        {20, "ZK LED", "智控灯"},             {22, "Random", "随机变色呼吸"},
        {44, "CPI 8:", "CPI 8:"},             {50, "Time (*1ms)", "间隔时间(*1ms)"},
        {59, "Color1 R:", "颜色1 R:"},        {88, "Color10 B:", "颜色10 B:"},
        {98, "'Back'+'Right Key'", "'后退'+'右键'组合键"},
        {107, "Enable Gun Key Switch Gaimg Mode", "使能枪键进行游戏模式切换"},
        {52, "VID/PID/USB Description", "VID/PID/USB字串描述符"},
        {124, "Color 10", "颜色10"},          {138, "Fire Key Setting", "枪键参数配置"},
        {139, "Is Left Key in Fire Key:", "枪键是否保留左键:"},
        {140, "Fire Key Start:", "枪键起始位置:"}, {141, "Fire Key Number:", "枪键数量:"},
        {142, "New Fire Key", "新增枪键"},    {143, "Delect Fire Key", "删除枪键"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EngineerCaption(c.row, EngineerColumn::English).toStdString(), c.english) << c.row;
        EXPECT_EQ(EngineerCaption(c.row, EngineerColumn::SimplifiedChinese).toStdString(), c.chinese) << c.row;
    }
    EXPECT_EQ(EngineerCaption(-1, EngineerColumn::English), QString());
    EXPECT_EQ(EngineerCaption(kEngineerCaptionCount, EngineerColumn::English), QString());
}

TEST(EngineerCaptions, ColumnFollowsTheLocale) {
    EXPECT_EQ(engineerColumnForLocale(QLocale(QStringLiteral("zh_CN"))), EngineerColumn::SimplifiedChinese);
    EXPECT_EQ(engineerColumnForLocale(QLocale(QStringLiteral("zh_TW"))), EngineerColumn::English);
    EXPECT_EQ(engineerColumnForLocale(QLocale(QStringLiteral("en_US"))), EngineerColumn::English);
    EXPECT_EQ(engineerColumnForLocale(QLocale(QStringLiteral("de_DE"))), EngineerColumn::English);

    setEngineerColumn(EngineerColumn::SimplifiedChinese);
    EXPECT_EQ(EngineerCaption(1), QStringLiteral("游戏模式"));
    setEngineerColumn(EngineerColumn::English);
    EXPECT_EQ(EngineerCaption(1), QStringLiteral("Gaming Mode"));
}

}  // namespace
}  // namespace nivra::skin
