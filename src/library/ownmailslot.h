#pragma once

// The program's own mailslot, through which helper programs report back: the dial-up program
// sends "connected" once the machine is online, or "exit" when it gives up. Helper programs
// find it as the mailslot kOwnMailslotName (see platform/mailslot.h). GUI thread only.

#include <QString>

#include "platform/mailslot.h"

namespace library {

inline const QString kOwnMailslotName = QStringLiteral("MUSETRA1");
// The longest message read; the rest of a longer one is dropped.
constexpr int kMailslotMessageSize = 256;

// The reading end of the own mailslot; closed until initmailslot opens it.
inline platform::Mailslot mshand;

// Opens the own mailslot when it is not open yet.
void initmailslot();

// The next message of the own mailslot up to its first zero byte, or the empty text when none
// is waiting or the mailslot is not open.
QString readmailslot();

} // namespace library
