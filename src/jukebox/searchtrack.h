#pragma once

// The jukebox's search panel: a keyword, a search key and the result list, over the album area.
// A search runs on its own thread (searchthread.h); a touched row selects its album or track as if
// its number had been keyed. The jukebox window creates the one instance (`searchpanel`) hidden,
// with the jukebox backdrop.
// GUI thread only; owned by its Qt parent.

#include <QVector>
#include <cstdint>
#include <memory>

#include "controls/transparentpanel.h"

namespace controls {
class TScrollListbox;
}

namespace jukebox {

class EditBox;
class FrameShape;
class PictureBox;
class TextLabel;
class tsearchthread;
struct SearchRow;

class ttracksearch : public controls::TTransparentPanel
{
    Q_OBJECT

public:
    explicit ttracksearch(QWidget* AOwner);
    ~ttracksearch() override;

    // Starts a search for the keyword (the "Search" key and Enter in the keyword edit).
    void action_butClick(QObject* Sender);
    // A result row touched.
    void lbClick(QObject* Sender);
    void keywordEnter(QObject* Sender);
    void keywordExit(QObject* Sender);
    // Shows or hides the on-screen keyboard.
    void keyboard_butClick(QObject* Sender);
    void action_butMouseDown(QObject* Sender);
    void action_butMouseUp(QObject* Sender);
    // Lays the panel out for its size.
    void Resize();
    // Ends the search as the panel closes: the next guest finds an empty keyword and list.
    void clearSearch();
    // True while the message line shows what the search put there last.
    bool showsItsMessage() const;

    EditBox* keywords = nullptr;
    PictureBox* action_but = nullptr;
    TextLabel* action_label = nullptr;
    TextLabel* keyboard_label = nullptr;
    PictureBox* keyboard_but = nullptr;
    FrameShape* lbshape = nullptr;
    FrameShape* lbshape2 = nullptr;
    // The current search; it stays until the next search replaces it.
    std::unique_ptr<tsearchthread> st;
    controls::TScrollListbox* lb = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void additem(const QVector<SearchRow>& rows);
    void updatestatus(int64_t more);
    void stopSearch();
    void tell(const QString& text);

    // What the search put on the message line last.
    QString told_;
};

} // namespace jukebox
