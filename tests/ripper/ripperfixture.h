#pragma once

// An extraction window of a given screen size with its title strip and backdrop, for the dialogs
// that lie over it; the scaling follows that size. Restores the unit state when it ends.

#include <QSize>
#include <memory>

class QLabel;
namespace ripper {
class Tripmain;
}

class ExtractionWindow
{
public:
    explicit ExtractionWindow(QSize screen);
    ~ExtractionWindow();
    ExtractionWindow(const ExtractionWindow&) = delete;
    ExtractionWindow& operator=(const ExtractionWindow&) = delete;

    // The title strip as the program lays it out (its height from its font), in place of the fixed
    // one the window starts with here.
    void placeTitle();

    QLabel* toptitle = nullptr;

private:
    std::unique_ptr<ripper::Tripmain> window_;
};
