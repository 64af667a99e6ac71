#pragma once

// The borderless black window that shows video tracks full-size on the configured video monitor;
// a click hides it. Created once by the program entry and kept until the program ends; `video`
// points at it while it lives. GUI thread only.

#include <QWidget>

namespace player {

class Tvideo : public QWidget
{
    Q_OBJECT

public:
    explicit Tvideo(QWidget* parent = nullptr);
    ~Tvideo() override;

    void FormClick(QObject* Sender);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The one instance while it exists (non-owning).
inline Tvideo* video = nullptr;

// Shows the video window on the video monitor (the primary one when the setting names none that
// exists) and makes it the media player's display.
void videoshow();

} // namespace player
