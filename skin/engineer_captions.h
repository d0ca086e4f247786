// The engineer caption table: 144 built-in captions of the engineer page in English,
// Traditional Chinese (empty) and Simplified Chinese, one column chosen for the whole run.
#pragma once

#include <QLocale>
#include <QString>

namespace nivra::skin {

inline constexpr int kEngineerCaptionCount = 144;

enum class EngineerColumn : int { English = 0, TraditionalChinese = 1, SimplifiedChinese = 2 };

// Simplified Chinese for a Chinese locale of mainland China (zh_CN), English for any other.
EngineerColumn engineerColumnForLocale(const QLocale& locale);

// The column in use. Until setEngineerColumn() it is the column of QLocale::system().
EngineerColumn engineerColumn();
void setEngineerColumn(EngineerColumn column);

// The text of ROW (0..143) in COLUMN, or in the column in use; "" for a row outside the table.
QString EngineerCaption(int row, EngineerColumn column);
QString EngineerCaption(int row);

// The font family for the engineer page's controls in COLUMN, falling back to an installed
// family (see availableFontFamily).
QString engineerFontFamily(EngineerColumn column);

}  // namespace nivra::skin
