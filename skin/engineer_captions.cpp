// The 144 rows of the engineer caption table and the choice of its column.
#include "skin/engineer_captions.h"

#include "skin/language_table.h"

#include <QStringList>

#include <atomic>

namespace nivra::skin {

namespace {

struct CaptionRow {
    const char16_t* english;
    const char16_t* traditional;  // never filled: the column exists but is never chosen
    const char16_t* simplified;
};

// Rows 0-13 the engineer page's page and tool buttons, 14-33 the LED group and its effect
// names (21-32), 34-44 CPI, 45-51 fire keys, 52-57 USB identity, 58-88 colours, 89 CPI
// colours, 90-95 breathing, 96-107 LED and Game Mode triggers, 108-136 other fields and the
// profile groups, 137-143 the gun key group.
constexpr CaptionRow kRows[kEngineerCaptionCount] = {
    /*   0 */ {u"Office Mode", u"", u"办公模式"},
    /*   1 */ {u"Gaming Mode", u"", u"游戏模式"},
    /*   2 */ {u"Profile3", u"", u"模式3"},
    /*   3 */ {u"Advanced", u"", u"高级设置"},
    /*   4 */ {u"Breathing Light", u"", u"呼吸灯"},
    /*   5 */ {u"Macro", u"", u"宏"},
    /*   6 */ {u"Update", u"", u"更新"},
    /*   7 */ {u"Engineer Mode", u"", u"工程模式"},
    /*   8 */ {u"Load", u"", u"载入"},
    /*   9 */ {u"Save", u"", u"保存"},
    /*  10 */ {u"Default", u"", u"恢复默认"},
    /*  11 */ {u"Import Base Macro", u"", u"导入基础宏"},
    /*  12 */ {u"Import Fire Macro", u"", u"导入火力宏"},
    /*  13 */ {u"Load Patch Code", u"", u"载入Patch Code"},
    /*  14 */ {u"LED Setting", u"", u"灯光设置"},
    /*  15 */ {u"LED Mode:", u"", u"灯光模式:"},
    /*  16 */ {u"LED Type:", u"", u"灯光类型:"},
    /*  17 */ {u"LED Number:", u"", u"灯珠数量:"},
    /*  18 */ {u"RGB LED", u"", u"RGB灯"},
    /*  19 */ {u"Sync LED", u"", u"同步灯"},
    /*  20 */ {u"ZK LED", u"", u"智控灯"},
    /*  21 */ {u"Off", u"", u"关灯"},
    /*  22 */ {u"Random", u"", u"随机变色呼吸"},
    /*  23 */ {u"Sequence", u"", u"依次循环呼吸"},
    /*  24 */ {u"Fixed", u"", u"固定单色呼吸"},
    /*  25 */ {u"Blend", u"", u"混色模式"},
    /*  26 */ {u"CPI Breath", u"", u"CPI颜色呼吸"},
    /*  27 */ {u"Sync Breath", u"", u"同步渐变呼吸"},
    /*  28 */ {u"Sync No-breath", u"", u"同步渐变不呼吸"},
    /*  29 */ {u"Random", u"", u"随机变色呼吸"},
    /*  30 */ {u"Blend", u"", u"混色模式"},
    /*  31 */ {u"Fixed", u"", u"固定单色呼吸"},
    /*  32 */ {u"CPI Breath", u"", u"CPI颜色呼吸"},
    /*  33 */ {u"LED Mode Select", u"", u"灯光模式选择"},
    /*  34 */ {u"CPI", u"", u"CPI"},
    /*  35 */ {u"CPI Steps:", u"", u"CPI档数:"},
    /*  36 */ {u"Current CPI:", u"", u"当前CPI:"},
    /*  37 */ {u"CPI 1:", u"", u"CPI 1:"},
    /*  38 */ {u"CPI 2:", u"", u"CPI 2:"},
    /*  39 */ {u"CPI 3:", u"", u"CPI 3:"},
    /*  40 */ {u"CPI 4:", u"", u"CPI 4:"},
    /*  41 */ {u"CPI 5:", u"", u"CPI 5:"},
    /*  42 */ {u"CPI 6:", u"", u"CPI 6:"},
    /*  43 */ {u"CPI 7:", u"", u"CPI 7:"},
    /*  44 */ {u"CPI 8:", u"", u"CPI 8:"},
    /*  45 */ {u"Fire Key", u"", u"火力键"},
    /*  46 */ {u"Fire Key 1:", u"", u"火力键1:"},
    /*  47 */ {u"Fire Key 2:", u"", u"火力键2:"},
    /*  48 */ {u"Fire Key 3:", u"", u"火力键3:"},
    /*  49 */ {u"Repeat", u"", u"连发次数"},
    /*  50 */ {u"Time (*1ms)", u"", u"间隔时间(*1ms)"},
    /*  51 */ {u"Continue", u"", u"持续连发"},
    /*  52 */ {u"VID/PID/USB Description", u"", u"VID/PID/USB字串描述符"},
    /*  53 */ {u"VID:", u"", u"VID:"},
    /*  54 */ {u"(Hex)", u"", u"(十六进制)"},
    /*  55 */ {u"PID:", u"", u"PID:"},
    /*  56 */ {u"(Hex)", u"", u"(十六进制)"},
    /*  57 */ {u"USB Description:", u"", u"USB描述:"},
    /*  58 */ {u"LED Color", u"", u"灯光颜色"},
    /*  59 */ {u"Color1 R:", u"", u"颜色1 R:"},
    /*  60 */ {u"Color1 G:", u"", u"颜色1 G:"},
    /*  61 */ {u"Color1 B:", u"", u"颜色1 B:"},
    /*  62 */ {u"Color2 R:", u"", u"颜色2 R:"},
    /*  63 */ {u"Color2 G:", u"", u"颜色2 G:"},
    /*  64 */ {u"Color2 B:", u"", u"颜色2 B:"},
    /*  65 */ {u"Color3 R:", u"", u"颜色3 R:"},
    /*  66 */ {u"Color3 G:", u"", u"颜色3 G:"},
    /*  67 */ {u"Color3 B:", u"", u"颜色3 B:"},
    /*  68 */ {u"Color4 R:", u"", u"颜色4 R:"},
    /*  69 */ {u"Color4 G:", u"", u"颜色4 G:"},
    /*  70 */ {u"Color4 B:", u"", u"颜色4 B:"},
    /*  71 */ {u"Color5 R:", u"", u"颜色5 R:"},
    /*  72 */ {u"Color5 G:", u"", u"颜色5 G:"},
    /*  73 */ {u"Color5 B:", u"", u"颜色5 B:"},
    /*  74 */ {u"Color6 R:", u"", u"颜色6 R:"},
    /*  75 */ {u"Color6 G:", u"", u"颜色6 G:"},
    /*  76 */ {u"Color6 B:", u"", u"颜色6 B:"},
    /*  77 */ {u"Color7 R:", u"", u"颜色7 R:"},
    /*  78 */ {u"Color7 G:", u"", u"颜色7 G:"},
    /*  79 */ {u"Color7 B:", u"", u"颜色7 B:"},
    /*  80 */ {u"Color8 R:", u"", u"颜色8 R:"},
    /*  81 */ {u"Color8 G:", u"", u"颜色8 G:"},
    /*  82 */ {u"Color8 B:", u"", u"颜色8 B:"},
    /*  83 */ {u"Color9 R:", u"", u"颜色9 R:"},
    /*  84 */ {u"Color9 G:", u"", u"颜色9 G:"},
    /*  85 */ {u"Color9 B:", u"", u"颜色9 B:"},
    /*  86 */ {u"Color10 R:", u"", u"颜色10 R:"},
    /*  87 */ {u"Color10 G:", u"", u"颜色10 G:"},
    /*  88 */ {u"Color10 B:", u"", u"颜色10 B:"},
    /*  89 */ {u"CPI Color", u"", u"CPI颜色"},
    /*  90 */ {u"LED Breath", u"", u"呼吸参数"},
    /*  91 */ {u"LED Lower:", u"", u"亮度下限:"},
    /*  92 */ {u"LED Upper:", u"", u"亮度上限:"},
    /*  93 */ {u"Lower Delay:", u"", u"下限停留:"},
    /*  94 */ {u"Upper Delay:", u"", u"上限停留:"},
    /*  95 */ {u"Step Delay:", u"", u"渐变速度:"},
    /*  96 */ {u"Switch Mouse LED Mode:", u"", u"鼠标灯光模式切换:"},
    /*  97 */ {u"No", u"", u"无"},
    /*  98 */ {u"'Back'+'Right Key'", u"", u"'后退'+'右键'组合键"},
    /*  99 */ {u"Switch Mouse Gaming Mode:", u"", u"鼠标游戏模式切换:"},
    /* 100 */ {u"No", u"", u"无"},
    /* 101 */ {u"Press 'Middle Key'", u"", u"长按'中键'"},
    /* 102 */ {u"Press 'CPI Loop'", u"", u"长按'CPI循环'"},
    /* 103 */ {u"Press 'CPI +'", u"", u"长按'CPI+'"},
    /* 104 */ {u"Press 'CPI -'", u"", u"长按'CPI-'"},
    /* 105 */ {u"'Back'+'Right Key'", u"", u"'后退'+'右键'组合键"},
    /* 106 */ {u"'Forward'+'Right Key'", u"", u"'前进'+'右键'组合键"},
    /* 107 */ {u"Enable Gun Key Switch Gaimg Mode", u"", u"使能枪键进行游戏模式切换"},
    /* 108 */ {u"AIM Key CPI:", u"", u"瞄准键CPI:"},
    /* 109 */ {u"Button Effect Switch:", u"", u"按键灯效开关:"},
    /* 110 */ {u"Off", u"", u"关"},
    /* 111 */ {u"On", u"", u"开"},
    /* 112 */ {u"Office Mode Color:", u"", u"办公模式颜色:"},
    /* 113 */ {u"Gaming Mode Color:", u"", u"游戏模式颜色:"},
    /* 114 */ {u"Profile 3 Color:", u"", u"模式3颜色:"},
    /* 115 */ {u"Color 1", u"", u"颜色1"},
    /* 116 */ {u"Color 2", u"", u"颜色2"},
    /* 117 */ {u"Color 3", u"", u"颜色3"},
    /* 118 */ {u"Color 4", u"", u"颜色4"},
    /* 119 */ {u"Color 5", u"", u"颜色5"},
    /* 120 */ {u"Color 6", u"", u"颜色6"},
    /* 121 */ {u"Color 7", u"", u"颜色7"},
    /* 122 */ {u"Color 8", u"", u"颜色8"},
    /* 123 */ {u"Color 9", u"", u"颜色9"},
    /* 124 */ {u"Color 10", u"", u"颜色10"},
    /* 125 */ {u"Fixed Color", u"", u"固定颜色"},
    /* 126 */ {u"USB Report:", u"", u"USB回报率:"},
    /* 127 */ {u"Sensor Rotation:", u"", u"传感器方向:"},
    /* 128 */ {u"Vendor ID:", u"", u"厂商ID:"},
    /* 129 */ {u"Product ID:", u"", u"产品ID:"},
    /* 130 */ {u"Current Profile:", u"", u"当前模式:"},
    /* 131 */ {u"Office Mode", u"", u"办公模式"},
    /* 132 */ {u"Gaming Mode", u"", u"游戏模式"},
    /* 133 */ {u"Profile 3", u"", u"模式3"},
    /* 134 */ {u"Current Profile Color:", u"", u"当前模式颜色:"},
    /* 135 */ {u"CPI/Profile Test", u"", u"CPI/模式测试"},
    /* 136 */ {u"Profile", u"", u"模式"},
    /* 137 */ {u"Fire Key X/Y Offset", u"", u"枪键X/Y偏移"},
    /* 138 */ {u"Fire Key Setting", u"", u"枪键参数配置"},
    /* 139 */ {u"Is Left Key in Fire Key:", u"", u"枪键是否保留左键:"},
    /* 140 */ {u"Fire Key Start:", u"", u"枪键起始位置:"},
    /* 141 */ {u"Fire Key Number:", u"", u"枪键数量:"},
    /* 142 */ {u"New Fire Key", u"", u"新增枪键"},
    /* 143 */ {u"Delect Fire Key", u"", u"删除枪键"},
};

constexpr int kUnset = -1;
std::atomic<int> chosenColumn{kUnset};

}  // namespace

EngineerColumn engineerColumnForLocale(const QLocale& locale) {
    return locale.language() == QLocale::Chinese && locale.territory() == QLocale::China
               ? EngineerColumn::SimplifiedChinese
               : EngineerColumn::English;
}

EngineerColumn engineerColumn() {
    int column = chosenColumn.load();
    if (column == kUnset) {
        const int fromLocale = static_cast<int>(engineerColumnForLocale(QLocale::system()));
        // Keep whatever another thread set first.
        chosenColumn.compare_exchange_strong(column, fromLocale);
        column = chosenColumn.load();
    }
    return static_cast<EngineerColumn>(column);
}

void setEngineerColumn(EngineerColumn column) { chosenColumn.store(static_cast<int>(column)); }

QString EngineerCaption(int row, EngineerColumn column) {
    if (row < 0 || row >= kEngineerCaptionCount) return {};
    const CaptionRow& r = kRows[row];
    switch (column) {
        case EngineerColumn::English: return QString::fromUtf16(r.english);
        case EngineerColumn::TraditionalChinese: return QString::fromUtf16(r.traditional);
        case EngineerColumn::SimplifiedChinese: return QString::fromUtf16(r.simplified);
    }
    return {};
}

QString EngineerCaption(int row) { return EngineerCaption(row, engineerColumn()); }

QString engineerFontFamily(EngineerColumn column) {
    switch (column) {
        case EngineerColumn::TraditionalChinese:
            return availableFontFamily(QStringLiteral("Noto Sans CJK TC"), {QStringLiteral("Noto Sans CJK SC")});
        case EngineerColumn::SimplifiedChinese:
            return availableFontFamily(QStringLiteral("Noto Sans CJK SC"), {QStringLiteral("Noto Sans CJK TC")});
        case EngineerColumn::English: break;
    }
    return availableFontFamily(QStringLiteral("DejaVu Sans"), {QStringLiteral("Liberation Sans")});
}

}  // namespace nivra::skin
