// Message boxes of the framework, with a hook that tests use to answer them.
#pragma once

#include "mfc/MfcTypes.h"

#include <QString>
#include <functional>

class QWidget;

// Shows text in a modal message box titled with the application name; returns the button
// pressed (IDOK, IDCANCEL, IDYES, IDNO).
int AfxMessageBox(const QString& text, UINT type = MB_OK);

namespace mfc {

// While a hook is set, every message box is handed to it instead of being shown; its result is
// the box's result. An empty function removes the hook.
using MessageBoxHook = std::function<int(const QString& text, UINT type)>;
void setMessageBoxHook(MessageBoxHook hook);

} // namespace mfc
