// The layout and language tables (a skin's ORG and LANG files): any bytes as a layout table
// (with the built-in language) or as a language table (with the built-in layout) go through
// the table readers and the whole layout pass without fault; a table that is refused says
// why.
#include "fuzz/fuzz_check.h"
#include "skin/language_table.h"
#include "skin/layout_pass.h"
#include "skin/skin_layout.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

using namespace nivra::skin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const int language = 1 + data[0] % kLanguageCount;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    static const Checked<LanguageSet> builtIn = LanguageSet::loadBuiltIn();
    FUZZ_CHECK(builtIn.ok());
    static const Checked<IniTable> builtInLayout = loadLayoutTable(QStringLiteral("ORG%1").arg(1));
    FUZZ_CHECK(builtInLayout.ok());

    // As a layout table.
    const IniTable layout = IniTable::parse(QStringLiteral("ORG%1").arg(language), bytes);
    const Checked<GlobalLayout> global = LoadGlobalLayout(layout);
    if (!global) FUZZ_CHECK(!global.error().isEmpty());
    const SkinState state;
    const SkinResult pass = ApplySkinAndLanguage(language, state, layout, builtIn->table(language), *builtIn);
    (void)pass;
    for (int d = 2; d <= 7; ++d) (void)ApplyDialogSkin(static_cast<Dialog>(d), language, layout, builtIn->table(language));

    // As a language table.
    const Checked<LanguageTable> table = LanguageTable::parse(language, bytes);
    if (!table) {
        FUZZ_CHECK(!table.error().isEmpty());
        return 0;
    }
    const SkinResult withTable = ApplySkinAndLanguage(1, state, *builtInLayout, *table, *builtIn);
    (void)withTable;
    const LanguageTable* tables[] = {&*table};
    (void)FindLanguageId(tables, table->text(u"Str022"));
    return 0;
}
