// Texts added after the original table. Each feature has a block of numbers
// of its own, so that features written side by side never take the same one.
// Our own wording in all three languages; keep every entry's three texts.
#include "shell/langtable.h"

namespace zel {

const LangMoreEntry LangMoreTable[] = {
    // 111-129: updates, error reports and start-up.

    // 130-169: list exchange (export, import, clipboard).

    // 170-219: lot summary.
    {170, {"Підсумок партії", "Итог партии", "Lot summary"}},
    {171, {"Клас діаметра", "Класс диаметра", "Diameter class"}},
    {172, {"Переріз, см", "Сечение, см", "Section, cm"}},
    {173, {"Штук", "Штук", "Pieces"}},
    {174, {"Об'єм, м3", "Объём, м3", "Volume, m3"}},
    {175, {"Частка, %", "Доля, %", "Share, %"}},
    {176, {"Ціна за м3", "Цена за м3", "Price per m3"}},
    {177, {"Вартість", "Стоимость", "Cost"}},
    {178, {"Разом", "Итого", "Total"}},
    {179, {"Дрібні", "Мелкие", "Small"}},
    {180, {"Тонкі", "Тонкие", "Thin"}},
    {181, {"Середні", "Средние", "Medium"}},
    {182, {"Великі", "Крупные", "Thick"}},
    {183, {"Метод", "Метод", "Method"}},
    {184, {"Різниця, м3", "Разница, м3", "Difference, m3"}},
    {185, {"Різниця, %", "Разница, %", "Difference, %"}},
    {186, {"Поза таблицею, шт.", "Вне таблицы, шт.", "Outside the table, pcs."}},
    {187, {"чинний", "действующий", "in force"}},
    {188, {"Складовий об'єм", "Складочный объём", "Stacked volume"}},
    {189, {"Коефіцієнт укладання", "Коэффициент укладки", "Stacking factor"}},
    {190, {"Валюта", "Валюта", "Currency"}},
    {191, {"Межі класів, см", "Границы классов, см", "Class bounds, cm"}},
    {192, {"Зберегти PDF…", "Сохранить PDF…", "Save PDF…"}},
    {193, {"Об'єм за діаметрами", "Объём по диаметрам", "Volume by diameter"}},
    {194, {"Об'єм за перерізами", "Объём по сечениям", "Volume by section"}},
    {195, {"скл. м3", "скл. м3", "stacked m3"}},
    {196, {"Файли PDF|*.pdf", "Файлы PDF|*.pdf", "PDF files|*.pdf"}},
    {197, {"Не вдалося записати файл PDF.", "Не удалось записать файл PDF.", "The PDF file could not be written."}},
    {198, {"Рядки, що не читаються, не враховано", "Нечитаемые строки не учтены", "Unreadable lines left out"}},

    // 220-239: the maker's service.

    // 240-259: reliability and speed.

    {-1, {"", "", ""}}, // end mark: the table may not be empty
};

const int kLangMoreEntries = static_cast<int>(sizeof LangMoreTable / sizeof LangMoreTable[0]) - 1;

} // namespace zel
