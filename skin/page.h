// The one Page enum of the program: the pages of the main window, numbered as the page
// selectors rb_1..rb_8 number them. The layout pass, the window and the editor models
// all name pages with it.
#pragma once

namespace nivra {

enum class Page : int { Office = 1, Game, Third, Advanced, Light, Macro, Update, Engineer };

}  // namespace nivra
