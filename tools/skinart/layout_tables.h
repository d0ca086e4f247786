// The layout tables ORG (program switches) and ORG1..ORG3 (placement, font sizes and colours
// per language), written from the skin's geometry.
#pragma once

#include <QByteArray>
#include <QString>

namespace skinart {

// The text of table "ORG".
QByteArray globalLayoutTable();
// The text of table "ORG1", "ORG2" or "ORG3" (language 1..3).
QByteArray languageLayoutTable(int language);

}  // namespace skinart
