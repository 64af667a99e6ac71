#pragma once

// The full-screen CD extraction window and the CD road it runs: drive, table of contents, CD
// database or typed details, title check, cover, then every track read into a PCM file while the
// previous one is encoded to MP3 into the album's staging folder, and the finished album moved into
// the library and added to the list. The road runs on the window
// thread and processes pending events between its steps; the encoder runs on its own thread,
// owned by this window, one at a time.
// Created once by the program entry and kept until the program ends; `ripmain` points at it while it
// lives. GUI thread only.

#include <QImage>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <QVector>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>

#include "platform/cddb.h"
#include "platform/cdrom.h"

class QComboBox;
class QFile;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QMenuBar;

namespace controls {
class TBitmapActionButton;
class TBitmapCheckbox;
class TBitmapProgress;
class TSpinGlobe;
} // namespace controls

namespace ripper {

class ServerWait;
class tmp3encode;
struct talbums;

// The tag texts of the CD being extracted: `count` + 1 titles in `track`.
struct tid3titles
{
    int32_t count = 0;
    QStringList track;
    QString artist;
    QString album;
};

// Free space the library's disk must have before a CD is extracted.
constexpr qint64 kRipFreeSpace = 629145600;
// The CD database's matches asked for at most.
constexpr int kMaxMatches = 5;
// Frames read from the disc in one go.
constexpr uint32_t kChunkFrames = 26;
// Tries of one chunk, and failed chunks that end a track.
constexpr int kChunkTries = 5;
constexpr int kMaxFailedChunks = 20;

class Tripmain : public QWidget
{
    Q_OBJECT

public:
    // `encoderLibrary` names the MP3 encoder library to load (tests name a missing one).
    explicit Tripmain(QWidget* parent = nullptr, const QString& encoderLibrary = QString());
    ~Tripmain() override;
    // The title strip across the top, its height from its font, which grows with the screen.
    void placeTitle();

    // The extract button of the jukebox: free space check, then the CD road.
    void rip_go();
    // Shows the window and runs the album edit menu for album `al` (from 1) over it; its result.
    int32_t doedit(int32_t al);
    // Ends a road: clears the manual flag, hides the on-screen keyboard and closes the window.
    void die();
    // Resets the window after a road; closes the drive.
    void stopit();
    // Closes the open drive; nothing when none is open.
    void closecd();
    // Appends `m` as a line of the log.
    void logent(const QString& m);
    // Fills `cds` with the CD drives.
    void enumcddrives();

    // The CD road (`rip_go` runs it once the space is there).
    void goClick();
    // Reads every track and hands each to an encoder (a step of the road).
    void doripping();
    // Waits, keeping the window alive, until the current encoder has finished.
    void mywaitfor();
    // Reads track `trck` (0-based among the disc's audio tracks) into the file `fn`.
    void rip(const QString& fn, int32_t trck);

    void cancelClick();
    void cdsChange();
    void rejectClick();
    void muteClick();
    void jbautoplayClick();
    void volupMouseDown();
    void volupMouseUp();
    void voldownMouseDown();
    void voldownMouseUp();

    // The encoder of the previous track, or nullptr.
    tmp3encode* encoder() const { return enc.get(); }

    QPushButton* go = nullptr;
    QGroupBox* cdselect = nullptr;
    QComboBox* cds = nullptr;
    QMenuBar* mainmenu = nullptr;
    QLabel* curpath = nullptr;
    QLabel* inf = nullptr;
    controls::TBitmapProgress* progress = nullptr;
    controls::TBitmapActionButton* cancel = nullptr;
    QPlainTextEdit* log = nullptr;
    QLabel* toptitle = nullptr;
    QLabel* bg = nullptr;
    controls::TBitmapProgress* encprogress = nullptr;
    QWidget* jbcontrolpanel = nullptr;
    controls::TBitmapActionButton* reject = nullptr;
    controls::TBitmapActionButton* mute = nullptr;
    controls::TBitmapActionButton* volup = nullptr;
    controls::TBitmapActionButton* voldown = nullptr;
    QLabel* labreject = nullptr;
    QLabel* labmute = nullptr;
    QLabel* labvolume = nullptr;
    controls::TBitmapCheckbox* jbautoplay = nullptr;
    QWidget* toptitleshape = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // musripmain.cpp: creation and layout.
    void FormCreate(const QString& encoderLibrary);
    void createControls();
    void createJukeboxPanel();
    void loadEncoder(const QString& encoderLibrary);
    void FormResize();
    void stretchBackdrop();
    void layoutJukeboxPanel();
    void FormShow();
    void jukeboxAction(const std::function<void()>& action);

    // musripmain_road.cpp: the road's steps.
    void startRoad();
    [[nodiscard]] bool openDrive();
    [[nodiscard]] bool readTocAsking();
    [[nodiscard]] QString missingImageText() const;
    [[nodiscard]] bool internetOrManual();
    [[nodiscard]] bool onlineOrManual(const QString& text, const QString& first, const QString& second,
                                      const QString& title, const std::function<bool()>& reachable,
                                      const std::function<bool()>& firstButton);
    // Runs a CD database exchange while Cancel (or Escape) can give it up: nothing then.
    template<class Result> std::optional<Result> waitForServer(const std::function<Result()>& work);
    void queryDatabase();
    void chooseMatch(const talbums& albums);
    void noMatch();
    void manualRoad();
    [[nodiscard]] bool manualTitles();
    [[nodiscard]] bool typeAlbumNames();
    [[nodiscard]] bool internetForCover();
    void finishRoad();
    void extractAndAdd();
    [[nodiscard]] int32_t keptTracks() const;
    [[nodiscard]] bool cancelledOverwrite(int32_t kept) const;
    [[nodiscard]] QString incompleteTracks(int32_t kept) const;
    [[nodiscard]] bool keepIncomplete(int32_t kept);
    // What the operator hears of the disk of `folder` when it has less room than an extraction
    // needs, after a file could not be made there; empty while there is room.
    static QString fullDiskNote(const QString& folder);
    void sayNothingMade();
    [[nodiscard]] bool joinLibrary(int32_t kept);
    void addToList();
    void endRoad();
    [[nodiscard]] bool gettracks(int32_t alb);
    void fitTitlesToDisc();
    void startGlobe(const QString& caption);
    QString discIdText() const;
    QString serverPath() const;

    // musripmain_extract.cpp: reading tracks and handing them over.
    [[nodiscard]] bool readTocForTrack(platform::CdToc& toc);
    [[nodiscard]] bool readChunks(QFile& file, uint32_t start, uint32_t length);
    void startEncoder(int32_t n);
    void collectEncoder();
    void showEncoderProgress();
    void endExtraction();
    void stopOnWriteFailure(const QString& fn);

    std::unique_ptr<tmp3encode> enc;
    std::unique_ptr<ServerWait> serverWait_;
    QImage backdrop_; // the backdrop picture (loaded at the first showing), stretched over `bg`
    platform::CdToc toc_;
    QVector<platform::CddbMatch> matches_;
    uint32_t discid_ = 0;
    int32_t audioTracks_ = 0;
    // Tracks (from 0) of this extraction that were read with errors, those of which nothing was
    // read, and those whose MP3 was made.
    std::set<int32_t> readErrors_;
    std::set<int32_t> emptyTracks_;
    std::set<int32_t> made_;
    bool roadRunning_ = false;
};

// The one instance while it exists (non-owning).
inline Tripmain* ripmain = nullptr;

// Unit state of the road, reset by `resetripmain`.
inline bool cancelop = false;
inline QString tempfilename;
// The drives found when the road started; `cds` lists them row by row.
inline QVector<platform::CdDriveName> cddrives;
inline int32_t currentcd = 0;
inline tid3titles id3titles;
inline QImage apic;
inline uint32_t enclastprog = 0;
inline bool manualentry = false;
// The busy globe of the window (owned by it).
inline controls::TSpinGlobe* spinglobe = nullptr;
inline QString Sectiontitle = QStringLiteral("Extract Compact Disk");
// The open drive of the road (none: nullptr).
inline std::unique_ptr<platform::CdDrive> cdhandle;

// Puts the unit state back to its state at program start (test fixtures).
void resetripmain();

} // namespace ripper
