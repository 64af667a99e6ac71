#include "skins/thememanagerform.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>
#include <QSignalBlocker>

#include "library/global.h"
#include "platform/dialogs.h"
#include "platform/peresources.h"
#include "skins/colorpicker.h"
#include "skins/colors.h"
#include "skins/resourceskins.h"

namespace skins {

namespace {

Q_LOGGING_CATEGORY(lcThemes, "musetra.skins.themes")

const QString kCurrentSettings = QStringLiteral("Current Settings");

// Every skin picture, grouped by the element it belongs to.
const TResourceDescriptor Resources[] = {
    {0, 0, QStringLiteral("BACKGROUND"), QStringLiteral("Jukebox Background"), true},
    {1, 0, QStringLiteral("LBUTUP"), QStringLiteral("Left Navigation Buttons"), false},
    {1, 1, QStringLiteral("LBUTDOWN"), QString(), false},
    {1, 2, QStringLiteral("RBUTUP"), QStringLiteral("Right Navigation Buttons"), false},
    {1, 3, QStringLiteral("RBUTDOWN"), QString(), false},
    {2, 0, QStringLiteral("KEYPADUP"), QStringLiteral("Keypad keys"), false},
    {2, 1, QStringLiteral("KEYPADDOWN"), QString(), false},
    {2, 2, QStringLiteral("WIDEBUTUP"), QString(), false},
    {2, 3, QStringLiteral("WIDEBUTDOWN"), QString(), false},
    {3, 0, QStringLiteral("LCORNERUP"), QStringLiteral("Visulisation corner popup button (Top Left)"), false},
    {3, 1, QStringLiteral("LCORNERDOWN"), QString(), false},
    {4, 0, QStringLiteral("BLCORNERUP"), QStringLiteral("Search panel corner button (Bottom Left)"), false},
    {4, 1, QStringLiteral("BLCORNERDOWN"), QString(), false},
    {5, 0, QStringLiteral("RCORNERUP"),
     QStringLiteral("Volume and Reject panel popup corner button (Top Right)"), false},
    {5, 1, QStringLiteral("RCORNERDOWN"), QString(), false},
    {6, 0, QStringLiteral("BRCORNERUP"),
     QStringLiteral("Advanced Options panel popup corner button (Bottom Right)"), false},
    {6, 1, QStringLiteral("BRCORNERDOWN"), QString(), false},
    {7, 0, QStringLiteral("ALPHABUTTONUP"), QStringLiteral("Alphabetical Album Jump button"), false},
    {7, 1, QStringLiteral("ALPHABUTTONDOWN"), QString(), false},
};

// The theme field of each element.
using ThemeField = library::tskin library::ttheme::*;
constexpr std::array<ThemeField, kElementCount> kElementFields = {
    &library::ttheme::sbackground, &library::ttheme::sbut,         &library::ttheme::skeypad,
    &library::ttheme::slcorner,    &library::ttheme::sblcorner,    &library::ttheme::srcorner,
    &library::ttheme::sbrcorner,   &library::ttheme::salphabuttons};

TResourceStyle stylesOf(const library::ttheme& theme)
{
    TResourceStyle styles;
    for (int e = 0; e < kElementCount; ++e)
        styles[e] = theme.*kElementFields[e];
    return styles;
}

void putStyles(const TResourceStyle& styles, library::ttheme& theme)
{
    for (int e = 0; e < kElementCount; ++e)
        theme.*kElementFields[e] = styles[e];
}

bool isNoTint(int32_t color)
{
    return color == 0 || color == library::clNone;
}

QLabel* caption(const QString& text, QWidget* buddy, QWidget* parent, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    label->move(x, y);
    return label;
}

} // namespace

bool GetElementItem(int group, int index, TResourceDescriptor& desc)
{
    for (const TResourceDescriptor& row : Resources) {
        if (row.group == group && row.index == index) {
            desc = row;
            return true;
        }
    }
    return false;
}

Tthememanager::Tthememanager(std::function<void()> restyle, QWidget* parent)
    : QDialog(parent), restyle_(std::move(restyle))
{
    setWindowTitle(QStringLiteral("Theme Manager"));
    setFixedSize(462, 351);
    buildControls();
    FormCreate();
}

Tthememanager::~Tthememanager() = default;

void Tthememanager::buildControls()
{
    lbthemes = new QComboBox(this);
    lbthemes->setGeometry(8, 26, 446, 24);
    caption(QStringLiteral("The&mes:"), lbthemes, this, 8, 8);
    lbelement = new QComboBox(this);
    lbelement->setGeometry(8, 78, 220, 24);
    caption(QStringLiteral("&Element:"), lbelement, this, 8, 60);
    lbStyles = new QComboBox(this);
    lbStyles->setGeometry(8, 130, 220, 24);
    caption(QStringLiteral("&Style:"), lbStyles, this, 8, 112);
    colorpreview = new QLabel(this);
    colorpreview->setGeometry(8, 182, 220, 24);
    colorpreview->setAlignment(Qt::AlignCenter);
    colorpreview->setAutoFillBackground(true);
    colorpreview->setFrameShape(QFrame::Panel);
    caption(QStringLiteral("C&olor:"), colorpreview, this, 8, 164);
    nocolor = new QCheckBox(QStringLiteral("No Color"), this);
    nocolor->move(8, 212);
    ColorPicker = new TColorPicker(this);
    ColorPicker->setGeometry(240, 60, 137, 105);
    preview = new QLabel(this);
    preview->setGeometry(240, 176, 105, 105);
    lbAlphaOrientation = new QComboBox(this);
    lbAlphaOrientation->setGeometry(8, 270, 220, 24);
    caption(QStringLiteral("&Alphabetical jump bar orientation:"), lbAlphaOrientation, this, 8, 252);
    OK = new QPushButton(QStringLiteral("&OK"), this);
    OK->setGeometry(214, 314, 76, 28);
    Cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    Cancel->setGeometry(296, 314, 76, 28);
    GoPreview = new QPushButton(QStringLiteral("&Preview"), this);
    GoPreview->setGeometry(378, 314, 76, 28);

    connect(lbelement, &QComboBox::currentIndexChanged, this, &Tthememanager::lbelementChange);
    connect(lbStyles, &QComboBox::currentIndexChanged, this, &Tthememanager::lbelementChange);
    connect(lbthemes, &QComboBox::currentIndexChanged, this, &Tthememanager::lbthemesChange);
    connect(nocolor, &QCheckBox::clicked, this, &Tthememanager::updatecolor);
    connect(OK, &QPushButton::clicked, this, &Tthememanager::OKClick);
    connect(Cancel, &QPushButton::clicked, this, &Tthememanager::reject);
    connect(GoPreview, &QPushButton::clicked, this, &Tthememanager::GoPreviewClick);
}

void Tthememanager::FormCreate()
{
    pvbmp = QImage(preview->size(), QImage::Format_RGB888);
    ColorPicker->OnColorChange = [this] { updatecolor(); };
    const library::ttheme& current = library::config.theme;
    ResourceStyleAtLoad = stylesOf(current);
    AlphaOrientationatload = current.alphaorientation;
    ResourceStyle = ResourceStyleAtLoad;

    library::ttheme atLoad;
    putStyles(ResourceStyleAtLoad, atLoad);
    atLoad.alphaorientation = AlphaOrientationatload;
    atLoad.name = QStringLiteral("Current Setting");
    themes.append(tthemeset{kCurrentSettings, {atLoad}, kCurrentSettings});
    loadSkinFiles();
    fillLists();
}

// Every readable skin file where skins are looked up adds its themes; one without a theme text, or
// with lines that cannot be read, is left out.
void Tthememanager::loadSkinFiles()
{
    QStringList files;
    for (const QString& folder : platform::libraryFolders()) {
        for (const QString& file :
             QDir(folder).entryList({QStringLiteral("*.skn")}, QDir::Files, QDir::Name)) {
            // A file the lookup finds in an earlier folder stands for this one.
            if (!files.contains(file, Qt::CaseInsensitive)) files << file;
        }
    }
    for (const QString& file : files) {
        tthemeset set;
        set.skinname = file.left(file.size() - 4);
        try {
            const int skipped = loadtheme(file, set.themes, set.friendlyname);
            if (skipped != 0) {
                qCWarning(lcThemes) << "skin file" << file
                                    << "has a theme text that cannot be read: left out";
                continue;
            }
        } catch (const ResourceNotFound&) {
            qCWarning(lcThemes) << "skin file" << file << "has no theme text: left out";
            continue;
        }
        themes.append(set);
    }
}

void Tthememanager::fillLists()
{
    const QSignalBlocker quietThemes(lbthemes);
    const QSignalBlocker quietStyles(lbStyles);
    const QSignalBlocker quietElements(lbelement);
    for (int e = 0; e < kElementCount; ++e) {
        TResourceDescriptor desc;
        if (GetElementItem(e, 0, desc)) lbelement->addItem(desc.friendlyname);
    }
    for (int s = 0; s < themes.size(); ++s) {
        lbStyles->addItem(themes[s].friendlyname);
        for (int t = 0; t < themes[s].themes.size(); ++t) {
            lbthemes->addItem(themes[s].friendlyname + QStringLiteral(" - ") + themes[s].themes[t].name);
            themesindex.append(tthemesindex{s, t});
        }
    }
    lbStyles->setCurrentIndex(0);
    lbelement->setCurrentIndex(0);
    lbthemes->setCurrentIndex(0);
    lbAlphaOrientation->addItems({QStringLiteral("Left"), QStringLiteral("Top"), QStringLiteral("Bottom"),
                                  QStringLiteral("Invisible")});
    lbAlphaOrientation->setCurrentIndex(AlphaOrientationatload);
    lbelementChange();
}

void Tthememanager::lbelementChange()
{
    const int e = std::max(0, lbelement->currentIndex());
    const int set = std::max(0, lbStyles->currentIndex());
    if (set == 0) {
        ResourceStyle[e].Color = ResourceStyleAtLoad[e].Color;
        themes[0].skinname = ResourceStyleAtLoad[e].Skin;
    }
    ResourceStyle[e].Skin = themes[set].skinname;
    // Loaded untinted: the preview tints it once, as the screens will.
    QImage picture;
    TResourceDescriptor desc;
    if (GetElementItem(e, 0, desc)) {
        try {
            LoadSkinResourceNoCache(desc.resname, ResourceStyle[e].Skin, library::clNone, desc.jpeg, picture);
        } catch (const ResourceNotFound&) {
            picture = QImage();
        }
    }
    pvbmp =
        picture.isNull() ? QImage() : picture.scaled(preview->size()).convertToFormat(QImage::Format_RGB888);
    const int32_t color = ResourceStyle[e].Color;
    {
        // The tick follows the element: an element without a tint shows it ticked.
        const QSignalBlocker quiet(nocolor);
        nocolor->setChecked(isNoTint(color));
    }
    ColorPicker->setcolor(isNoTint(color) ? library::clNone : color);
}

void Tthememanager::lbthemesChange()
{
    const int entry = lbthemes->currentIndex();
    if (entry < 0 || entry >= themesindex.size()) return;
    const tthemesindex chosen = themesindex[entry];
    const library::ttheme& theme = themes[chosen.skin].themes[chosen.theme];
    ResourceStyle = stylesOf(theme);
    lbAlphaOrientation->setCurrentIndex(std::clamp(theme.alphaorientation, 0, 3));
    {
        const QSignalBlocker quiet(lbStyles);
        lbStyles->setCurrentIndex(chosen.skin);
    }
    lbelementChange();
}

void Tthememanager::updatecolor()
{
    setPreviewColor(nocolor->isChecked() ? library::clNone : ColorPicker->Col());
    dothumb();
}

void Tthememanager::setPreviewColor(int32_t color)
{
    previewColor_ = color;
    QPalette colours = colorpreview->palette();
    colours.setColor(QPalette::Window,
                     isNoTint(color) ? palette().color(QPalette::Window) : tcolorToQColor(color));
    colorpreview->setPalette(colours);
    colorpreview->setText(isNoTint(color) ? QString()
                                          : QStringLiteral("R %1  G %2  B %3")
                                                .arg(color & 0xFF)
                                                .arg((color >> 8) & 0xFF)
                                                .arg((color >> 16) & 0xFF));
}

void Tthememanager::dothumb()
{
    QImage shown = pvbmp;
    if (!isNoTint(previewColor_)) addcolortobitmap(shown, previewColor_, alphaamount);
    preview->setPixmap(QPixmap::fromImage(shown));
    const int e = lbelement->currentIndex();
    if (e >= 0) ResourceStyle[e].Color = previewColor_;
}

void Tthememanager::setchanges()
{
    for (const TResourceDescriptor& row : Resources) {
        try {
            (void)ReplaceSkinResource(row.resname, ResourceStyle[row.group].Skin,
                                      ResourceStyle[row.group].Color, row.jpeg);
        } catch (const ResourceNotFound&) {
            qCInfo(lcThemes) << "no picture" << row.resname << "in skin" << ResourceStyle[row.group].Skin;
        }
    }
    library::config.theme.alphaorientation = lbAlphaOrientation->currentIndex();
    if (restyle_) restyle_();
}

void Tthememanager::GoPreviewClick()
{
    setchanges();
}

void Tthememanager::OKClick()
{
    putStyles(ResourceStyle, library::config.theme);
    setchanges();
    accept();
}

void Tthememanager::reject()
{
    ResourceStyle = ResourceStyleAtLoad;
    {
        const QSignalBlocker quiet(lbAlphaOrientation);
        lbAlphaOrientation->setCurrentIndex(AlphaOrientationatload);
    }
    setchanges();
    QDialog::reject();
}

void gothemes(const std::function<void()>& restyle)
{
    // Over the window it was opened from, so a full-screen jukebox cannot hide it.
    Tthememanager thememanager(restyle, QApplication::activeWindow());
    (void)platform::dialogs().execModal(thememanager);
}

} // namespace skins
