#pragma once

#include "platform/dialogs.h"

namespace platform {

// Shows real Qt message boxes and runs dialogs modally. GUI thread only.
class QtDialogs final : public Dialogs
{
public:
    MessageAnswer messageBox(const QString& caption, const QString& text, MessageIcon icon,
                             MessageButtons buttons) override;
    int execModal(QDialog& dialog) override;
};

} // namespace platform
