// makeblank OUTPUT.mp3
//
// Writes the built-in silent MP3 ("blank"): half a second of silence with an ID3v2.3 tag. The media
// player keeps it open whenever it must let go of a real track. The result is committed as
// resources/blank.mp3; run this again only to remake it.

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "tonemp3.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: makeblank OUTPUT.mp3\n");
        return 2;
    }
    tools::Tone silence;
    silence.lengthMs = 500;
    silence.frequencyHz = 0;
    silence.title = QStringLiteral("blank");
    if (!tools::writeToneMp3(arguments.at(1), silence)) {
        std::fprintf(stderr, "makeblank: cannot write %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    return 0;
}
