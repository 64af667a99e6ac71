#pragma once

// Mailslots: one-way message channels between programs on this machine, each message delivered
// whole. A mailslot is a Unix datagram socket, named as the Windows program named its mailslot,
// in the user's runtime folder ($XDG_RUNTIME_DIR, else a private temporary folder; failing
// both, the shared temporary folder with the user's id in the name). Writers never wait: a
// message to a mailslot nobody reads, or whose queue is full, is dropped.
// A Mailslot object is the reading end; it belongs to the thread that opened it.

#include <QByteArray>
#include <QString>

namespace platform {

// The file of the mailslot `name`.
QString mailslotPath(const QString& name);

// The name of the mailslot `name` for the programs of this display ($DISPLAY, else
// $WAYLAND_DISPLAY), so programs on two displays of one machine never read each other's.
QString displayMailslotName(const QString& name);

// Sends `message` as one message to the mailslot `name`. False when nobody reads that mailslot
// or the message could not be queued; never blocks.
[[nodiscard]] bool writeMailslot(const QString& name, const QByteArray& message);

class Mailslot
{
public:
    Mailslot() = default;
    ~Mailslot();
    Mailslot(const Mailslot&) = delete;
    Mailslot& operator=(const Mailslot&) = delete;

    // Creates the mailslot `name` and reads from it; a mailslot left behind by a program that
    // ended is replaced, one that another program still reads is not. False when it fails.
    [[nodiscard]] bool open(const QString& name);
    bool isOpen() const { return fd_ >= 0; }
    // Stops reading and removes the mailslot. False when it was not open.
    bool close();
    // The next message, at most `maxSize` bytes of it; empty when none is waiting. Never blocks.
    QByteArray read(int maxSize);

private:
    int fd_ = -1;
    QString path_;
};

} // namespace platform
