// What one window tells the others that it changed, so that none of them
// needs to know which window listens.
#pragma once

#include <QObject>

namespace zel {

class AppEvents : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // The interface language was switched: every window shows its texts anew.
    void languageApplied();
    // Species, moisture, method or taper changed: the list in front is
    // recomputed with them.
    void settingsApplied();
    // Sorting of both lists turned on or off.
    void sortingChosen(bool on);
    // A setting the store keeps changed and is to be written now.
    void settingsToStore();
    // The settings window was closed.
    void settingsClosed();
};

} // namespace zel
