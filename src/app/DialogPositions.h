#pragma once
// Dialogs reopen where they were last closed: the profile keeps each one's top-left corner.

#include "settings/ProfileValues.h"

class QWidget;

namespace vorna {

class CSProfile;

// Moves `dialog` to its stored corner, kept on the screen.
void RestoreDialogPosition(QWidget& dialog, const CSProfile& profile, ProfileDialog which);
void StoreDialogPosition(const QWidget& dialog, CSProfile& profile, ProfileDialog which);

} // namespace vorna
