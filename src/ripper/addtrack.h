#pragma once

// The Add Track dialog: a file dropped on an album of the jukebox becomes the next track of that
// album, or of a new album named here, with its title taken from the file's tag. A tick on
// "Repeat for all tracks in selection " lets the further files of the same drop go through on
// their own. Created, run and freed by `addtrackdialog` on the GUI thread.

#include <QDialog>
#include <QString>
#include <cstdint>

#include "library/id3.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace ripper {

// The state of the repeat box, carried to the next dialog of the same drop.
inline bool repeatactionset = false;

class TAddTrack : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kAdded = 1;
    static constexpr int kCancelled = 2;

    // Offers the file `path` for the album `art` / `alb`.
    TAddTrack(const QString& art, const QString& alb, const QString& path);

    // The album that received the track (or would have).
    QString art;
    QString alb;

    QPushButton* Ok = nullptr;
    QPushButton* Cancel = nullptr;
    QRadioButton* oldalbum = nullptr;
    QRadioButton* newalbum = nullptr;
    QGroupBox* newalbumframe = nullptr;
    QLineEdit* ebartist = nullptr;
    QLineEdit* ebalbum = nullptr;
    QLineEdit* ebtrack = nullptr;
    QCheckBox* repeataction = nullptr;
    QTimer* actiontimer = nullptr;

    void OkClick();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void fillFromTag();
    // The folder the track goes into: the target album's staging folder (for a new album made
    // with its cover), or the album's own folder when it cannot be staged; empty (after saying
    // why) when there is none.
    QString targetFolder();
    QString existingAlbum();
    QString makeNewAlbum();
    // Copies the file in as the next track and appends its title; false after a failure.
    bool addTrack(const QString& folder);
    // Copies the file to `destination`; false (after saying why) when it is empty, could not be
    // copied or changed meanwhile.
    bool copySource(const QString& destination);
    // The staged album moves into the library once its track is in place (a new one joins the
    // list); without it, it goes again. False when the track was not added.
    bool finishStaged(bool trackAdded);
    void error(const QString& text);

    QString path_;
    bool staged_ = false;   // this press staged the album
    bool newAlbum_ = false; // a new one
    library::tid3tag id_;
};

// Adds the dropped file `apath` to the album `aart` / `aalb` or a new one; `firstrun` marks the
// first file of a drop. 1 when the track was added, 2 when the user cancelled or it failed (the
// rest of the drop stops). `oart` / `oalb` get the album the next file of the drop goes to.
int32_t addtrackdialog(const QString& aart, const QString& aalb, const QString& apath, QString& oart,
                       QString& oalb, bool firstrun);

} // namespace ripper
