// Texts added after the original table. Each feature has a block of numbers
// of its own, so that features written side by side never take the same one.
// Our own wording in all three languages; keep every entry's three texts.
#include "shell/langtable.h"

namespace zel {

const LangMoreEntry LangMoreTable[] = {
    // 111-129: updates, error reports and start-up.

    // 130-169: list exchange (export, import, clipboard).

    // 170-219: lot summary.

    // 220-239: the maker's service.

    // 240-259: reliability and speed.
    {240, {"Не вдалося зберегти журнал у файл: ", "Не удалось сохранить журнал в файл: ",
           "Could not save the log to file: "}},
    {241, {"Не вдалося зберегти налаштування та списки (диск заповнений або недоступний для запису): ",
           "Не удалось сохранить настройки и списки (диск заполнен или недоступен для записи): ",
           "Could not save the settings and lists (the disk is full or cannot be written): "}},

    {-1, {"", "", ""}}, // end mark: the table may not be empty
};

const int kLangMoreEntries = static_cast<int>(sizeof LangMoreTable / sizeof LangMoreTable[0]) - 1;

} // namespace zel
