// Serialised values in a QSettings INI file. QSettings reads a value written
// as "@Variant(...)" or "@DateTime(...)" through QDataStream, as whatever type
// it names and trusting the counts in it: a damaged or hand-made file can make
// it reserve gigabytes, or build any object the program knows how to read.
// The store never writes such a value, so the file is mended before QSettings
// reads it.
#pragma once

#include <QByteArray>

namespace zel {

// Doubles the '@' of every value (or list item) that QSettings would read
// through QDataStream, which turns it into the plain text it looks like; the
// file's other bytes stay as they are. Returns how many were changed, or -1
// if one could not be (`ini` is then as it came).
int plainSerialisedValues(QByteArray& ini);

} // namespace zel
