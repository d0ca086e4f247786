// The shipped language tables: they agree with their UTF-8 sources, hold every id the
// program reads, and translate every button function name back and forth without loss.
#include "skin/language_table.h"
#include "skin/resources.h"
#include "tests/skin/gui_app.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFontDatabase>
#include <QSet>

namespace nivra::skin {
namespace {

const LanguageSet& languages() {
    const Checked<LanguageSet>& set = builtInLanguages();
    EXPECT_TRUE(set.ok()) << set.error().toStdString();
    static const LanguageSet empty = *LanguageSet::fromTables({});
    return set.ok() ? *set : empty;
}

QString id(int n) { return QStringLiteral("Str%1").arg(n, 3, 10, QLatin1Char('0')); }

QStringList range(int first, int last) {
    QStringList ids;
    for (int n = first; n <= last; ++n) ids << id(n);
    return ids;
}

// Every id that some part of the program reads.
QStringList idsTheProgramReads() {
    QStringList ids{QStringLiteral("FontName"), QStringLiteral("Title")};
    ids << range(1, 16) << range(20, 22) << range(100, 108) << range(200, 208) << range(210, 214)
        << range(220, 223) << range(230, 233) << range(240, 243) << range(250, 254) << range(260, 277)
        << range(280, 286) << range(290, 293) << range(300, 311) << range(400, 402) << range(404, 418)
        << range(420, 422) << id(430) << range(432, 435) << range(440, 442) << range(450, 451)
        << range(454, 458) << range(500, 506) << range(510, 512) << range(520, 524) << range(600, 606)
        << range(610, 614) << range(620, 621) << range(640, 648) << range(700, 707) << range(720, 733) << range(760, 768)
        << range(780, 781) << range(790, 791);
    ids << range(880, 912);
    return ids;
}

// The ids whose texts name button functions: key labels show them and are translated by
// looking the text up again.
QStringList functionNameIds() {
    return range(201, 208) + range(210, 214) + range(220, 223) + range(230, 233) + range(240, 243) +
           range(250, 254) + range(260, 277) + range(280, 286) + range(290, 293) + range(300, 311) +
           range(600, 606);
}

TEST(ShippedLanguageTables, AgreeWithTheirSources) {
    for (int n = 1; n <= kLanguageCount; ++n) {
        SCOPED_TRACE(n);
        QFile source(QStringLiteral(NIVRA_SOURCE_DIR "/resources/lang/src/LANG%1.txt").arg(n));
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(source.readAll());
        QByteArray expected("\xFF\xFE", 2);
        for (QChar c : text) {
            expected.append(static_cast<char>(c.unicode() & 0xFF));
            expected.append(static_cast<char>(c.unicode() >> 8));
        }
        const auto shipped = resource(QStringLiteral("LANG%1").arg(n));
        ASSERT_TRUE(shipped);
        EXPECT_TRUE(*shipped == expected) << "run resources/lang/src/make_tables.sh";
    }
}

TEST(ShippedLanguageTables, HoldEveryIdTheProgramReads) {
    for (int n = 1; n <= kLanguageCount; ++n) {
        SCOPED_TRACE(n);
        const LanguageTable& t = languages().table(n);
        for (const QString& key : idsTheProgramReads()) {
            EXPECT_TRUE(t.contains(key)) << key.toStdString();
            // Only the second line of the no-device message may be empty, and only outside LANG2.
            if (key != u"Str101") {
                EXPECT_FALSE(t.text(key).isEmpty()) << key.toStdString();
            }
        }
        EXPECT_EQ(t.text(u"Str101").isEmpty(), n != 2);
        EXPECT_EQ(t.contains(u"Str234"), n == 2);
    }
    // The three tables carry the same ids; LANG2 adds only Str234.
    QStringList ids1 = languages().table(1).section().entries().keys();
    QStringList ids2 = languages().table(2).section().entries().keys();
    QStringList ids3 = languages().table(3).section().entries().keys();
    ids2.removeOne(QStringLiteral("str234"));
    ids1.sort();
    ids2.sort();
    ids3.sort();
    EXPECT_EQ(ids1, ids3);
    EXPECT_EQ(ids2, ids3);
}

// The messages the user reads when something goes wrong, word for word in each table.
TEST(ShippedLanguageTables, MessagesReadAsWritten) {
    struct Case {
        const char* id;
        const char* lang1;
        const char* lang2;
        const char* lang3;
    };
    const Case cases[] = {
        {"Str022", "正在读取设备", "查找不到指定設備", "Finding the specified device"},
        {"Str100", "等待重新加载设备，请确认。", "未偵測到裝置", "Waiting to reconnect device"},
        {"Str101", "", "請確認裝置是否確實連接至USB介面", ""},
        {"Str102", "NivraData.bin文件类型错误", "NivraData.bin檔案類型錯誤", "NivraData.bin file type error"},
        {"Str103", "宏文件长度超出范围", "巨集檔案長度超出範圍", "Macro bin length out of range"},
        {"Str104", "EEPROM空间不足", nullptr, "EEPROM space shortage"},
        {"Str105", "请选择一个瞄准键", "請選擇一個瞄準鍵", "Please select a AIM Key"},
        {"Str106", "该目录下已经有一个同名宏", nullptr, "This macro already exists"},
        {"Str107", "滑鼠厂商编码或产品编码错误", "滑鼠廠商編碼或產品編碼錯誤", "The mouse manufacturer or product id error"},
        {"Str108", "请保留一个左键", "請保留一個左鍵", "Please keep a Left Key"},
        {"Str430", "确认清空宏吗？", "確認清空巨集嗎？", "OK for clear macro?"},
    };
    for (const Case& c : cases) {
        const QString key = QLatin1String(c.id);
        const char* texts[] = {c.lang1, c.lang2, c.lang3};
        for (int n = 1; n <= kLanguageCount; ++n) {
            // nullptr: the table's own wording, not fixed here.
            if (texts[n - 1] == nullptr) continue;
            EXPECT_EQ(languages().table(n).text(key), QString::fromUtf8(texts[n - 1])) << c.id << " LANG" << n;
        }
    }
}

TEST(ShippedLanguageTables, KeyLabelsTranslateBetweenLanguages) {
    const LanguageSet& set = languages();
    // The case the window shows: a label reading the Chinese "Left Key" turns English.
    EXPECT_EQ(set.FindLanguageId(QStringLiteral("左键")), QStringLiteral("Str210"));
    EXPECT_EQ(set.translate(QStringLiteral("左键"), 3), QStringLiteral("Left Key"));
    EXPECT_EQ(set.translate(QStringLiteral("Ctrl+Alt+A"), 3), QStringLiteral("Ctrl+Alt+A"));
    EXPECT_EQ(set.translate(QString(), 2), QString());
    EXPECT_EQ(builtInText(3, "Str210"), "Left Key");
    EXPECT_EQ(builtInText(1, "Str210"), "左键");
    EXPECT_EQ(builtInText(3, "Str999"), "");
    // Any function name, shown in any language, reads as the same function in every
    // language: no two functions share a text unless they share it in every table.
    for (const QString& key : functionNameIds()) {
        for (int from = 1; from <= kLanguageCount; ++from) {
            const QString shown = set.table(from).text(key);
            for (int to = 1; to <= kLanguageCount; ++to) {
                EXPECT_EQ(set.translate(shown, to), set.table(to).text(key))
                    << key.toStdString() << " " << from << "->" << to << " via "
                    << set.FindLanguageId(shown).toStdString();
            }
        }
    }
}

TEST(ShippedLanguageTables, FontsExistOrFallBack) {
    test::ensureGuiApplication();
    // The shipped families come from the project's packages (fonts-noto-cjk, DejaVu); each
    // table's font resolves to an installed family either way.
    for (int n = 1; n <= kLanguageCount; ++n) {
        const LanguageTable& t = languages().table(n);
        const QString family = t.fontFamily();
        EXPECT_TRUE(QFontDatabase::hasFamily(family)) << n << " " << family.toStdString();
        if (QFontDatabase::hasFamily(t.fontName())) {
            EXPECT_EQ(family, t.fontName());
        }
    }
    const QString missing = QStringLiteral("No Such Font Family 0xF00");
    EXPECT_EQ(availableFontFamily(missing, {missing, QStringLiteral("DejaVu Sans")}), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(availableFontFamily(missing), QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
}

}  // namespace
}  // namespace nivra::skin
