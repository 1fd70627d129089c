#pragma once
#include <QString>

class QWidget;

namespace kavro {
class StringTable;
}

namespace kavro::gui {

// Asks before what cannot be undone: a question box with Yes and No in the user's language,
// No the default and the answer to Escape. True for Yes.
bool AskYesNo(QWidget* parent, const StringTable& strings, const QString& question, const char* objectName);

}  // namespace kavro::gui
