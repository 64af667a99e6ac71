#pragma once

// The window that shows one album cover large, maximised on the monitor the settings name; a
// touch on the picture closes it. Created once by the program entry and kept until the program
// ends; `coverform` points at it while it lives. GUI thread only.

#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>

namespace skins {
class CoverLoader;
} // namespace skins

namespace jukebox {

class PictureBox;

class Tcoverform : public QWidget
{
    Q_OBJECT

public:
    explicit Tcoverform(QWidget* parent = nullptr);
    ~Tcoverform() override;

    // Shows the cover of the album folder `name` maximised.
    void covershow(const QString& name);
    void FormActivate(QObject* Sender);
    void cdimageClick(QObject* Sender);

    PictureBox* cdimage = nullptr;
    // Set at each activation: the desktop player's selected album row + 1, and the album count.
    int32_t cur = 0;
    int32_t max = 0;

protected:
    void changeEvent(QEvent* event) override;

private:
    // Decodes the cover off the window thread: a huge cover file never holds the window.
    std::unique_ptr<skins::CoverLoader> coverLoader_;
};

// The one instance while it exists (non-owning).
inline Tcoverform* coverform = nullptr;

} // namespace jukebox
