#pragma once
#include "common/StringTable.h"

namespace kavro {

// Loads the embedded translation of a language into the table (English needs none).
// Returns false when the translation is missing; the table then stays English.
bool LoadLanguage(StringTable& table, Language language);

// The language of the system locale (LANG / LC_ALL / LC_MESSAGES on Linux), loaded.
Language LoadSystemLanguage(StringTable& table);

}  // namespace kavro
