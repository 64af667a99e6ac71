#include "platform/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QString>
#include <QStringList>

namespace platform {

namespace {
// Face names given to loaded fonts (lower case) and the families they draw with.
QHash<QString, QString>& loadedFaces()
{
    static QHash<QString, QString> faces;
    return faces;
}
} // namespace

std::future<void> startReadingSystemFonts()
{
    // Every function of the font database may be called from any thread.
    return std::async(std::launch::async, [] { (void)QFontDatabase::families(); });
}

bool fontKnown(const QString& face)
{
    if (loadedFaces().contains(face.toLower())) return true;
    return QFontDatabase::families().contains(face, Qt::CaseInsensitive);
}

bool installFontResource(const QString& resource, const QString& face)
{
    const int id = QFontDatabase::addApplicationFont(resource);
    if (id < 0) return false;
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) return false;
    loadedFaces().insert(face.toLower(), families.first());
    // A substitution lets every QFont asking for the face name find the loaded family.
    QFont::removeSubstitutions(face);
    QFont::insertSubstitution(face, families.first());
    return true;
}

QString fontFamily(const QString& face)
{
    return loadedFaces().value(face.toLower(), face);
}

} // namespace platform
