#pragma once
// String ids of every text the user sees. The core reports these ids (and arguments);
// the window and the command line turn them into words through a StringTable.
// The ids and their English texts are listed once, in Texts.def.

namespace kavro::txt {

#define KAVRO_TEXT(name, id, english) inline constexpr int name = id;
#include "common/Texts.def"
#undef KAVRO_TEXT

}  // namespace kavro::txt
