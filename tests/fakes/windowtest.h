// Where every main-window test starts from.
#pragma once

#include "memorystore.h"
#include "testservices.h"
#include "engine/volume.h"
#include "shell/settings.h"
#include "shell/ui/dialogs.h"
#include "app/tform1.h"
#include "shell/ui/appevents.h"

#include <QtTest>

#include <functional>
#include <memory>

namespace zel {

// Boxes scripted and none shown yet, an empty store but for the language, and
// the record's start values for the lists (Scots pine, 70 %, GOST, one grade).
inline void startWindowTest(MemoryStore& store, UiLanguage language)
{
    Dialogs::setScripted(true);
    Dialogs::clear();
    store.values.clear();
    const char* const codes[] = {"UA", "RU", "EN"};
    store.values[QStringLiteral("LANGUAGE")] = QString::fromLatin1(codes[static_cast<int>(language)]);
    Settings.Language = language;
    Settings.Method = CalcMethod::Gost2708;
    Settings.TypeWood = 4;
    Settings.WetWood = 8;
    Settings.DownGradeWood = 1;
}

// The settings changed as the settings window changes them once the windows
// are up: the record first, then every window told (a new language, or new
// calculation settings), never behind their backs.
inline void applySettings(TForm1& form, const std::function<void(SettingsRecord&)>& change)
{
    const UiLanguage language = Settings.Language;
    change(Settings);
    AppEvents* events = form.services().events;
    if (Settings.Language != language)
        emit events->languageApplied();
    else
        emit events->settingsApplied();
}

// The main window made with `services`, shown, and on the screen.
inline bool showMainWindow(std::unique_ptr<TForm1>& form, const AppServices& services)
{
    form = std::make_unique<TForm1>(services);
    form->show();
    return QTest::qWaitForWindowExposed(form.get());
}

} // namespace zel
