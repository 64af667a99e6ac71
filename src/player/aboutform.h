#pragma once

// The About box: the start-up splash with progress texts, and the modal information box that
// counts the library's albums, files and bytes while it stays responsive.
// It exists only while shown; `about` points at it then and is empty otherwise. GUI thread only.

#include <QDialog>
#include <QString>
#include <cstdint>

class QFrame;
class QLabel;
class QTimer;

namespace controls {
class TBitmapActionButton;
}

namespace player {

class Tabout : public QDialog
{
    Q_OBJECT

public:
    explicit Tabout(QWidget* parent = nullptr);
    ~Tabout() override;

    void FormCreate(QObject* Sender);
    void FormActivate(QObject* Sender);
    void OKClick(QObject* Sender);
    void TimerTimer(QObject* Sender);
    void netsetClick(QObject* Sender);
    void hyperlinkClick(QObject* Sender);
    void copyrightClick(QObject* Sender);

    // Any road out of the box (OK, Escape, the window's close) stops the counting at once.
    void done(int result) override;

    QLabel* logo = nullptr;
    QFrame* outline = nullptr;
    QLabel* mes = nullptr;
    QLabel* album = nullptr;
    QLabel* artist = nullptr;
    QLabel* version = nullptr;
    QLabel* netset = nullptr;
    QLabel* copyright = nullptr;
    QLabel* hyperlink = nullptr;
    controls::TBitmapActionButton* OK = nullptr;
    QTimer* Timer = nullptr; // closes the box once OK was pressed

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void countAlbum(int i, int64_t& bytes, int32_t& files, int32_t& mp3s);
};

// The About box while it exists (owned by whoever showed it); nullptr otherwise.
inline Tabout* about = nullptr;
// True: the modal information box; false: the start-up splash.
inline bool aboutmode = false;
// OK was pressed (or the box left another way): the counting stops and the box closes.
inline bool cancel = false;

// Mode 0 opens the start-up splash; mode 1 shows the modal information box.
void showabout(int mode);
// Shows progress texts on the splash while it is up; always lets pending window events run.
void initmessage(const QString& mes, const QString& artist = QString(), const QString& album = QString());
// The decimal digits of `i` with "," every three places: 1234567 gives "1,234,567".
QString byteformat(int64_t i);

} // namespace player
