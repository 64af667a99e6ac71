#pragma once

// The theme manager, where the operator restyles the jukebox: for each of eight screen elements
// the skin file its pictures come from and a tint, or a whole theme of a skin file, and where the
// letter bar stands. Preview shows the choice on the live screens, OK keeps it in the settings,
// Cancel (and closing the window any other way) puts back what was in force when it opened.
// A modal dialog, made and freed by `gothemes`. GUI thread only.

#include <QDialog>
#include <QImage>
#include <QString>
#include <QVector>
#include <array>
#include <cstdint>
#include <functional>

#include "library/skintypes.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace skins {

class TColorPicker;

// One skin picture of an element: its group (the element 0..7), its place in the element, its
// name, the element's name (on its first picture only) and whether it is JPEG data.
struct TResourceDescriptor
{
    int32_t group = 0;
    int32_t index = 0;
    QString resname;
    QString friendlyname;
    bool jpeg = false;
    int32_t defaultcolor = library::clNone;
};

constexpr int kElementCount = 8;
// One skin and tint per element.
using TResourceStyle = std::array<library::tskin, kElementCount>;

// The themes of one skin source: its display name, its themes and its skin name.
struct tthemeset
{
    QString friendlyname;
    library::TThemeSubset themes;
    QString skinname;
};

// Which set and which theme in it an entry of the theme list stands for.
struct tthemesindex
{
    int32_t skin = 0;
    int32_t theme = 0;
};

// The row of the resource table with that group and index; false when there is none.
bool GetElementItem(int group, int index, TResourceDescriptor& desc);

class Tthememanager : public QDialog
{
    Q_OBJECT

public:
    // `restyle` lays out again every screen that shows skin pictures (after each apply).
    explicit Tthememanager(std::function<void()> restyle, QWidget* parent = nullptr);
    ~Tthememanager() override;

    // Puts the styles into the skin cache and the orientation into the settings, then restyles.
    void setchanges();

    void lbelementChange();
    void lbthemesChange();
    void updatecolor();
    void dothumb();
    void GoPreviewClick();
    void OKClick();
    // Cancel, Esc and the window's close button: the styles and orientation of the opening return.
    void reject() override;

    QComboBox* lbthemes = nullptr;
    QComboBox* lbelement = nullptr;
    QComboBox* lbStyles = nullptr;
    QLabel* colorpreview = nullptr;
    QCheckBox* nocolor = nullptr;
    TColorPicker* ColorPicker = nullptr;
    QLabel* preview = nullptr;
    QComboBox* lbAlphaOrientation = nullptr;
    QPushButton* OK = nullptr;
    QPushButton* Cancel = nullptr;
    QPushButton* GoPreview = nullptr;

private:
    void buildControls();
    void FormCreate();
    void loadSkinFiles();
    void fillLists();
    void setPreviewColor(int32_t color);

    std::function<void()> restyle_;
    QVector<tthemeset> themes;
    QVector<tthemesindex> themesindex;
    QImage pvbmp;
    TResourceStyle ResourceStyle;
    TResourceStyle ResourceStyleAtLoad;
    int32_t AlphaOrientationatload = 0;
    int32_t previewColor_ = library::clNone;
};

// Opens the theme manager modally and frees it when it closes. `restyle` lays out again every
// screen that shows skin pictures.
void gothemes(const std::function<void()>& restyle);

} // namespace skins
