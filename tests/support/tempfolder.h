#pragma once

// Helpers that build small file trees for tests inside a temporary folder.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class TempFolder
{
public:
    TempFolder();

    QString path() const { return dir_.path(); }
    // `relative` under the folder; the folders on the way are made.
    QString file(const QString& relative) const;
    // Writes `content` to `relative` (making folders) and returns the full path.
    QString write(const QString& relative, const QByteArray& content) const;
    // Makes the folder `relative` and returns its full path.
    QString mkdir(const QString& relative) const;
    QByteArray read(const QString& relative) const;

private:
    QTemporaryDir dir_;
};

// Halts become exceptions while an instance lives, so a fatal road can be tested.
class ThrowingHalt
{
public:
    ThrowingHalt();
    ~ThrowingHalt();
    ThrowingHalt(const ThrowingHalt&) = delete;
    ThrowingHalt& operator=(const ThrowingHalt&) = delete;
};
