#pragma once

// The spare number every component carries (its "Tag"): the jukebox keeps open states, album
// numbers and timer phases in it. Any QObject can carry one; an object never given a tag reads 0.
// GUI thread only.

#include <QObject>
#include <QVariant>
#include <cstdint>

namespace jukebox {

inline int32_t tagOf(const QObject* object)
{
    return object ? object->property("Tag").toInt() : 0;
}

inline void setTag(QObject* object, int32_t value)
{
    if (object) object->setProperty("Tag", value);
}

} // namespace jukebox
