// Texts added after the original table. Each feature has a block of numbers
// of its own, so that features written side by side never take the same one.
// Our own wording in all three languages; keep every entry's three texts.
#include "shell/langtable.h"

namespace zel {

const LangMoreEntry LangMoreTable[] = {
    // 111-129: updates, error reports and start-up.
    // 111-114: a swap of the program files that failed (%1, %2: file paths).
    {111, {"Оновлення не вдалося: не вдається видалити %1.",
           "Обновление не удалось: не удаётся удалить %1.",
           "The update failed: %1 cannot be removed."}},
    {112, {"Оновлення не вдалося: не вдається зробити %1 виконуваним.",
           "Обновление не удалось: не удаётся сделать %1 исполняемым.",
           "The update failed: %1 cannot be made executable."}},
    {113, {"Оновлення не вдалося: не вдається перейменувати %1 на %2.",
           "Обновление не удалось: не удаётся переименовать %1 в %2.",
           "The update failed: %1 cannot be renamed to %2."}},
    {114, {"Файл програми тепер %1.",
           "Файл программы теперь %1.",
           "The program file is now %1."}},

    // 130-169: list exchange (export, import, clipboard).

    // 170-219: lot summary.

    // 220-239: the maker's service.

    // 240-259: reliability and speed.

    {-1, {"", "", ""}}, // end mark: the table may not be empty
};

const int kLangMoreEntries = static_cast<int>(sizeof LangMoreTable / sizeof LangMoreTable[0]) - 1;

} // namespace zel
