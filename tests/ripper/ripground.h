#pragma once

// The ground of the CD road tests: fresh library, player and extraction globals, a temporary
// library root and cache folder, the player window (for the album list) with a fake media player,
// the extraction window, the internet reachable, a large free disk, and every skinned question
// recorded and answered from a queue (the first button when none is queued).

#include <QDialog>
#include <QStringList>
#include <QVector>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

#include "answeringdialogs.h"
#include "fakesystem.h"
#include "installedfake.h"
#include "platform/diskspace.h"
#include "player/mainform.h"
#include "ripper/musripmain.h"
#include "tempfolder.h"

class FakeDiskSpace final : public InstalledFake<platform::DiskSpace, &platform::setDiskSpace>
{
public:
    qint64 available(const QString&) override { return bytes; }
    qint64 bytes = qint64(1) << 40;
};

// A question of the skinned dialog: its message and title.
struct Question
{
    QString text;
    QString title;
};

class RipGround : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The lines of the extraction log.
    QStringList logLines() const;
    // The messages of the questions asked so far.
    QStringList questionTexts() const;
    // Makes the staging folder of the album `artist` / `album` and sets the road's titles for it.
    void prepareAlbum(const QString& artist, const QString& album, const QStringList& titles);

    TempFolder folder;
    QString root;
    QString cache;
    AnsweringDialogs dialogs;
    FakeProcesses processes; // the on-screen keyboard and the dial-up program
    FakeNetwork network;
    FakeDiskSpace space;
    QVector<Question> questions;
    // Answers of the skinned questions, in order.
    QVector<int> answers;
    // Answers every other modal dialog (the road's entry dialogs); 2 ("go back") when unset.
    std::function<int(QDialog&)> otherDialog;
    std::unique_ptr<player::Tmainform> form;
    std::unique_ptr<ripper::Tripmain> window;
};
