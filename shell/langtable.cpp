// The language table: entry n in Ukrainian, Russian and English.
#include "shell/langtable.h"

#include <array>
#include <unordered_map>

namespace zel {

// Several English texts begin with a Cyrillic capital (U+0421 or U+0415) where
// a Latin letter would be expected; they are written as escapes so that the
// difference stays visible. Entries 53, 54 and 106 are texts of our own.
const char* const LangTable[kLangEntries][kLanguages] = {
    {"Налаштування", "Настройки", "Settings"}, // 0
    {"Порода", "Порода", "Tree species"}, // 1
    {"Меню", "Меню", "Menu"}, // 2
    {"Діаметер", "Диаметр", "Diameter"}, // 3
    {"Довжина", "Длина", "Length"}, // 4
    {"Кількість", "Количество", "Number"}, // 5
    {"Об`єм", "Объём", "Volume"}, // 6
    {"см.", "см.", "sm."}, // 7
    {"м.", "м.", "m."}, // 8
    {"м.п.", "м.п.", "m."}, // 9
    {"шт.", "шт.", "pcs."}, // 10
    {"кг.", "кг.", "kg."}, // 11
    {"м3.", "м3.", "m3."}, // 12
    {"м2.", "м2.", "m2."}, // 13
    {"Площа", "Площадь", "Area"}, // 14
    {"Додати", "Добавить", "Add"}, // 15
    {"Вага", "Вес", "Weight"}, // 16
    {"Очистка списку", "Очистка списка", "Clear list"}, // 17
    {"Редагувати", "Редактировать", "Edit"}, // 18
    {"Видалити", "Удалить", "Delete"}, // 19
    {"Зберегти як...", "Сохранить как...", "Save As..."}, // 20
    {"Друкувати список", "Печать списка", "Print list"}, // 21
    {"Куатурна таблиця", "Кубатурная таблица", "\u0421ubature table"}, // 22
    {"Відкрити", "Открыть", "Open"}, // 23
    {"Друкувати розрахунок", "Печать расчета", "Print calculations"}, // 24
    {"Про програму", "О программе", "About"}, // 25
    {"Вихід", "Выход", "Exit"}, // 26
    {"Мова", "Язык", "Language"}, // 27
    {"Вологість", "Влажность", "Humidity"}, // 28
    {"[ Розрахунок ]", "[ Расчет ]", "[ \u0421alculation ]"}, // 29
    {"Береза", "Береза", "birch"}, // 30
    {"Ялинка", "Ель", "spruce"}, // 31
    {"Модрина", "Лиственница", "larch"}, // 32
    {"Липа, Осика", "Липа, Осина", "Oak, wasp"}, // 33
    {"Сосна звичайна", "Сосна обыкновенная", "Scotch pine"}, // 34
    {"Ясень звичайний", "Ясень обыкновенный", "Ash"}, // 35
    {"ГОСТ 2708-75", "ГОСТ 2708-75", "GOST 2708-75"}, // 36
    {"ISO 4480-83", "ISO 4480-83", "ISO 4480-83"}, // 37
    {"Формула", "Формула", "Formula"}, // 38
    {"Оциліндрований брус", "Оцилиндрованное бревно", "Machine rounded"}, // 39
    {"Потоншення на м.п.", "Утончение на м.п.", "\u0415hinning on the meter"}, // 40
    {"Сортування", "Сортировка", "Sorting"}, // 41
    {"Висота", "Высота", "Hight"}, // 42
    {"Ширина", "Ширина", "Width"}, // 43
    {"Круглий ліс", "Круглый лес", "Round timber"}, // 44
    {"Список", "Список", "List"}, // 45
    {"Розрахунок", "Расчет", "\u0421alculations"}, // 46
    {"Дата", "Дата", "Date"}, // 47
    {"Опис", "Описание", "Description"}, // 48
    {"Видалити кубатурний розрахунок?", "Удалить кубатурный расчет ?", "Remove cubature calculation?"}, // 49
    {"Відкрити", "Открыть", "Open"}, // 50
    {"Введіть значення перемінної", "Введите значение переменной", "Enter the value of"}, // 51
    {"Назва кубатурної таблиці", "Название кубатурной таблицы", "The name of the table cubature"}, // 52
    {"Усі права захищені. ", "Все права защищены. ", "All rights reserved. "}, // 53  (our own text)
    {"Програма надається «як є», без будь-яких гарантій.", "Программа предоставляется «как есть», без каких-либо гарантий.", "The program is provided \"as is\", without warranty of any kind."}, // 54  (our own text)
    {"Файл програми: ", "Файл программы: ", "The program file: "}, // 55
    {"Налаштування: ", "Настройки: ", "Setings: "}, // 56
    {"Версія програми: ", "Версия программы: ", "Version of the program: "}, // 57
    {" Пакет оновлення:", " Пакет обновлений: ", " Service pack: "}, // 58
    {"Максимально: ", "Максимально: ", "Maximally: "}, // 59
    {"Мінімально: ", "Минимально: ", "Minimum: "}, // 60
    {"Помилка збереження даних до файлу!", "Ошибка сохранения данных в файл!", "Failed to save data to a file!"}, // 61
    {"Максимальне значення довжини: ", "Максимальное значение длины: ", "The maximum length value: "}, // 62
    {"Мінімальне значення довжини: ", "Минимальное значение длины: ", "The minimum length value: "}, // 63
    {"Максимальне значення діаметру: ", "Максимальное значение диаметра: ", "The maximum value of diameter: "}, // 64
    {"Мінімальне значення діаметру: ", "Минимальное значение диаметра: ", "The minimum value of the diameter: "}, // 65
    {"Крок довжини (м.)", "Шаг длины (м.)", "Step length (m)"}, // 66
    {"Макс. довжини (м.)", "Макс. длины (м.)", "Max. length (m)"}, // 67
    {"Мін. довжини (м.)", "Мин. длины (м.)", "Min. length (m)"}, // 68
    {"Крок діаметру (см.)", "Шаг диаметра (см.)", "Diameter step (cm)"}, // 69
    {"Макс. діаметру (см.)", "Макс. диаметра (см.)", "Max. diameter (cm)"}, // 70
    {"Мін. діаметру (см.)", "Мин. диаметра (см.)", "Min. diameter (cm)"}, // 71
    {"Вирівняти", "Выровнять", "Aling"}, // 72
    {"Оновити", "Обновить", "Refresh"}, // 73
    {"Закрити", "Закрыть", "Close"}, // 74
    {"Розрахунок кубатури круглого пиломатеріалу по ", "Расчет кубатуры круглого пиломатериала по ", "Calculation of cubic meters of round timber in "}, // 75
    {"Друк", "Печать", "Print"}, // 76
    {"Файли Excel|*.xlc", "Файлы Excel|*.xlc", "Excel files |*.xlc"}, // 77
    {"Перевірити оновлення", "Проверить обновления", "\u0421heck for updates"}, // 78
    {"Автоперевірка оновлень", "Автопроверка обновлений", "\u0421heck for updates automatically"}, // 79
    {"Деякі значення виходять за межі інтерполяційної таблиці.", "Некоторые значение выходят за пределы интерполяционной таблицы.", "Some go beyond the value of the interpolation table."}, // 80
    {"Таблиці", "Таблицы", "Tables"}, // 81
    {"Перевірка наявності оновлень", "Проверка наличия обновлений", "Check for updates"}, // 82
    {"Немає з`єднання з інтернетом!", "Нет соединения с интернетом!", "No connection to the Internet!"}, // 83
    {"Доступна новая версія.", "Доступна новая версия.", "Available for download the new version."}, // 84
    {"Завантажити оновлення?", "Загрузить обновление ?", "Download the update?"}, // 85
    {"Завантаження оновлення...", "Загрузка обновления ...", "Downloading updates ..."}, // 86
    {"Оновлення пройшло успішно!", "Обновление прошло успешно!", "Upgrade was successful!"}, // 87
    {"Оновлення пройшло вдало! Перезапустити програму?", "Обновление прошло удачно! Перезапустить программу?", "Upgrade went well! Restart the program?"}, // 88
    {"Дошка-брус", "Доска-брус", "Board-beams"}, // 89
    {"Допомога", "Помощь", "Help"}, // 90
    {"Надіслати", "Отправить", "Send"}, // 91
    {"Отримати", "Получить", "Receive"}, // 92
    {"Повідомлення:", "Сообщение:", "Message:"}, // 93
    {"e-mail: (не обов`язково)", "e-mail: (не обязательно)", "e-mail: ()"}, // 94
    {"Тема:", "Тема:", "Theme:"}, // 95
    {"Нема повідомлень", "Нет сообщений", "No massages!"}, // 96
    {"(без теми)", "(без темы)", "(no theme)"}, // 97
    {"Зв`язок", "Связь", "Connect"}, // 98
    {"Загальна довжина", "Общая длина", "The total length"}, // 99
    {"Середній діаметр", "Средний диаметр", "The average diameter"}, // 100
    {"Середня ширина", "Средняя ширина", "The average width"}, // 101
    {"Розрахунок кубатури дошки", "Расчет кубатуры доски", "Calculation of cubic meters of board"}, // 102
    {"Ви використовуєте останню версію.", "Вы используете последнюю версию.", "You are using the latest version."}, // 103
    {"Помилка при спробі запису в \\system32\\. Файл: midas.dll", "Ошибка при попытке записи в \\system32\\. Файл: midas.dll", "Error when trying to write \\system32\\. File: midas.dll"}, // 104
    {"Помилка зв`язку з сервером!", "Ошибка связи с сервером!", "Error to connect with server!"}, // 105
    {"Якщо програма вам корисна, ви можете підтримати її розвиток пожертвою.", "Если программа вам полезна, вы можете поддержать её развитие пожертвованием.", "If the program is useful to you, you can support its development with a donation."}, // 106  (our own text)
    {"Zelmora, кубатурник пиломатеріалів.", "Zelmora, кубатурник пиломатериалов.", "Zelmora, іваіа ів пвіп віп віа пва "}, // 107
    {"", "", ""}, // 108
    {"Зворотний зв`язок.Тут ви можете висловити свою думку про програму, також про помилки або про свої бажання, що стосується поліпшення функціональності. Нам важлива Ваша думка.", "Обратная связь.Здесь вы можете высказать свое мнение о программе, также о ошибках или о своих желаниях и предпочтениях, что касается улучшения функциональности. Нам важно Ваше мнение.", "Feed-back.Here you can say of the opinion of the program, also about errors or about the desires and preferences, in respect of improvement of functionality. Your opinion is important us."}, // 109
};

QString Lang(int n, UiLanguage language)
{
    // Converted once: the lists ask for their units on every line they write.
    static const std::array<QString, kLangEntries * kLanguages> table = [] {
        std::array<QString, kLangEntries * kLanguages> t;
        for (int e = 0; e < kLangEntries; ++e)
            for (int l = 0; l < kLanguages; ++l)
                t[e * kLanguages + l] = QString::fromUtf8(LangTable[e][l]);
        return t;
    }();
    static const std::unordered_map<int, std::array<QString, kLanguages>> more = [] {
        std::unordered_map<int, std::array<QString, kLanguages>> m;
        for (int i = 0; i < kLangMoreEntries; ++i) {
            auto& texts = m[LangMoreTable[i].n];
            for (int l = 0; l < kLanguages; ++l)
                texts[l] = QString::fromUtf8(LangMoreTable[i].text[l]);
        }
        return m;
    }();
    const int l = static_cast<int>(language);
    if (l < 0 || l >= kLanguages)
        return QString();
    if (n >= 0 && n < kLangEntries)
        return table[n * kLanguages + l];
    const auto it = more.find(n);
    return it == more.end() ? QString() : it->second[l];
}

} // namespace zel
