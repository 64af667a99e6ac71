#pragma once

// The ground every player window test stands on: fresh library and player globals, a temporary
// program folder with empty "music" and "cache" folders, answering dialogs and `frontEnd`
// installed as the front end. TearDown closes the window before it takes the rest away.

#include <QComboBox>
#include <QListWidget>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

#include "answeringdialogs.h"
#include "library/filter.h"
#include "library/global.h"
#include "platform/programfolder.h"
#include "player/frontend.h"
#include "player/mainform.h"
#include "tempfolder.h"

// The texts of a list's rows, top to bottom.
inline QStringList rowTexts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

inline QStringList rowTexts(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

template<class RecordingFrontEndType> class PlayerGround : public ::testing::Test
{
protected:
    void SetUp() override
    {
        library::resetGlobals();
        library::resetfilter();
        player::resetGlobals();
        platform::setProgramFolder(program.path());
        player::setFrontEnd(&frontEnd);
        libraryRoot = program.mkdir(QStringLiteral("music"));
        cacheFolder = program.mkdir(QStringLiteral("cache"));
    }

    void TearDown() override
    {
        player::mainform = nullptr;
        form.reset();
        player::setFrontEnd(nullptr);
        platform::setProgramFolder(QString());
        library::resetGlobals();
        player::resetGlobals();
    }

    TempFolder program;
    QString libraryRoot;
    QString cacheFolder;
    AnsweringDialogs dialogs;
    RecordingFrontEndType frontEnd;
    std::unique_ptr<player::Tmainform> form;
};
