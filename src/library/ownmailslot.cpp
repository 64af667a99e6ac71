#include "library/ownmailslot.h"

#include <QByteArray>

#include "platform/textcodec.h"

namespace library {

void initmailslot()
{
    if (mshand.isOpen()) return;
    // A failure leaves the mailslot closed; readmailslot then answers the empty text.
    (void)mshand.open(kOwnMailslotName);
}

QString readmailslot()
{
    QByteArray message = mshand.read(kMailslotMessageSize);
    const qsizetype end = message.indexOf('\0');
    if (end >= 0) message.truncate(end);
    return platform::decodeText(message);
}

} // namespace library
