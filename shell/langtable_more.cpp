// Texts from 111 on, added after entries 0-109. Each feature has a block of numbers
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
    {130, {"№", "№", "No"}},
    {131, {"Поза таблицею", "Вне таблицы", "Out of table"}},
    {132, {"Разом", "Итого", "Total"}},
    {133, {"Експорт списку...", "Экспорт списка...", "Export list..."}},
    {134, {"Імпорт до списку...", "Импорт в список...", "Import into list..."}},
    {135, {"CSV (*.csv)", "CSV (*.csv)", "CSV (*.csv)"}},
    {136, {"Книга Excel (*.xlsx)", "Книга Excel (*.xlsx)", "Excel workbook (*.xlsx)"}},
    {137, {"Файли CSV і текстові (*.csv *.tsv *.txt)", "Файлы CSV и текстовые (*.csv *.tsv *.txt)", "CSV and text files (*.csv *.tsv *.txt)"}},
    {138, {"Буде додано рядків: %1; пропущено: %2: %3", "Будет добавлено строк: %1; пропущено: %2: %3", "%1 lines will be added; %2 rows skipped: %3"}},
    {139, {"Буде додано рядків: %1.", "Будет добавлено строк: %1.", "%1 lines will be added."}},
    {140, {"Немає рядків для додавання; пропущено: %1: %2", "Нет строк для добавления; пропущено: %1: %2", "No lines to add; %1 rows skipped: %2"}},
    {141, {"рядок %1 (%2)", "строка %1 (%2)", "row %1 (%2)"}},
    {142, {"діаметр", "диаметр", "diameter"}},
    {143, {"ширина", "ширина", "width"}},
    {144, {"висота", "высота", "height"}},
    {145, {"довжина", "длина", "length"}},
    {146, {"кількість", "количество", "count"}},
    {147, {"немає: %1", "нет: %1", "no %1"}},
    {148, {"%1 \"%2\" не є числом", "%1 \"%2\" не число", "%1 \"%2\" is not a number"}},
    {149, {"%1 %2 не є цілим числом", "%1 %2 не целое число", "%1 %2 is not a whole number"}},
    {150, {"%1 %2 поза межами %3..%4", "%1 %2 вне пределов %3..%4", "%1 %2 out of %3..%4"}},
    {151, {"%1 %2 має більше одного знака після коми", "%1 %2 имеет больше одного знака после запятой", "%1 %2 has more than one decimal"}},
    {152, {"Файл не є текстовим.", "Файл не является текстовым.", "The file is not a text file."}},
    {153, {"Файл порожній.", "Файл пуст.", "The file is empty."}},
    {154, {"Файл завеликий.", "Файл слишком велик.", "The file is too large."}},
    {155, {"У рядку заголовків немає стовпця: %1", "В строке заголовков нет столбца: %1", "The header row has no column for the %1"}},
    {156, {"Не вдалося прочитати файл: %1", "Не удалось прочитать файл: %1", "The file could not be read: %1"}},
    {157, {"Не вдалося записати файл: %1", "Не удалось записать файл: %1", "The file could not be written: %1"}},
    {158, {"см.", "см.", "cm"}},
    {159, {"Використання: zelmora-calc [--boards] [--method gost|iso|formula|cylinder] [--taper СМ] [--species N] [--moisture ВІДСОТКИ] [--language uk|ru|en] [--format table|csv|json] [ФАЙЛ|-]\n"
           "Читає список у форматі CSV або з табуляціями (\"-\" або нічого: стандартний вхід), додає рядки за правилами списку і друкує список та підсумки.\n"
           "  --boards     список дошок (ширина, висота, довжина, кількість) замість круглого лісу (діаметр, довжина, кількість)\n"
           "  --method     метод круглого лісу, типово gost\n"
           "  --taper      потоншення на м.п., 0,5..4,0 см кроком 0,5, типово 1,0 (для методу formula)\n"
           "  --species    порода 0..5: 0 береза, 1 ялина, 2 модрина, 3 липа/осика, 4 сосна звичайна (типово), 5 ясен\n"
           "  --moisture   вологість, %: 10, 15, 20, 25, 30, 40..120 кроком 10, типово 70\n"
           "  --language   мова текстів, типово en\n"
           "  --format     table (типово), csv (як експорт), json\n"
           "Код виходу: 0 - усі рядки використано, 1 - деякі пропущено або стовпець не прочитано, 2 - помилка виклику або файл не прочитано.\n",
           "Использование: zelmora-calc [--boards] [--method gost|iso|formula|cylinder] [--taper СМ] [--species N] [--moisture ПРОЦЕНТЫ] [--language uk|ru|en] [--format table|csv|json] [ФАЙЛ|-]\n"
           "Читает список в формате CSV или с табуляциями (\"-\" или ничего: стандартный ввод), добавляет строки по правилам списка и печатает список и итоги.\n"
           "  --boards     список досок (ширина, высота, длина, количество) вместо круглого леса (диаметр, длина, количество)\n"
           "  --method     метод круглого леса, по умолчанию gost\n"
           "  --taper      утончение на м.п., 0,5..4,0 см с шагом 0,5, по умолчанию 1,0 (для метода formula)\n"
           "  --species    порода 0..5: 0 береза, 1 ель, 2 лиственница, 3 липа/осина, 4 сосна обыкновенная (по умолчанию), 5 ясень\n"
           "  --moisture   влажность, %: 10, 15, 20, 25, 30, 40..120 с шагом 10, по умолчанию 70\n"
           "  --language   язык текстов, по умолчанию en\n"
           "  --format     table (по умолчанию), csv (как экспорт), json\n"
           "Код выхода: 0 - все строки использованы, 1 - некоторые пропущены или столбец не прочитан, 2 - ошибка вызова или файл не прочитан.\n",
           "Usage: zelmora-calc [--boards] [--method gost|iso|formula|cylinder] [--taper CM] [--species N] [--moisture PERCENT] [--language uk|ru|en] [--format table|csv|json] [FILE|-]\n"
           "Reads a list as CSV or tab-separated text (\"-\" or none: standard input), adds its rows by the list's rules and prints the list and its totals.\n"
           "  --boards     the board list (width, height, length, count) instead of round timber (diameter, length, count)\n"
           "  --method     the round-timber method, gost by default\n"
           "  --taper      taper per running metre, 0.5..4.0 cm in steps of 0.5, 1.0 by default (for the formula method)\n"
           "  --species    species 0..5: 0 birch, 1 spruce, 2 larch, 3 linden/aspen, 4 Scots pine (default), 5 ash\n"
           "  --moisture   moisture, %: 10, 15, 20, 25, 30, 40..120 in steps of 10, 70 by default\n"
           "  --language   language of the texts, en by default\n"
           "  --format     table (default), csv (as the export), json\n"
           "Exit status: 0 every row used, 1 some rows skipped or a column left unread, 2 a usage error or an unreadable file.\n"}},
    {160, {"Невідомий параметр або значення: %1", "Неизвестный параметр или значение: %1", "Unknown option or value: %1"}},
    {161, {"У буфері обміну немає рядків.", "В буфере обмена нет строк.", "The clipboard holds no rows."}},
    // 162-169: what an import reads from the columns.
    {162, {"Прочитано стовпці: %1.", "Прочитаны столбцы: %1.", "Columns read: %1."}},
    {163, {"%1 зі стовпця \"%2\"", "%1 из столбца \"%2\"", "%1 from \"%2\""}},
    {164, {"Рядка заголовків немає, стовпці прочитано по порядку: %1.",
           "Строки заголовков нет, столбцы прочитаны по порядку: %1.",
           "No header row: the columns are read in the order %1."}},
    {165, {"Не прочитано стовпці: %1. Стовпця кількості немає, тому кожен рядок рахується як одна колода.",
           "Не прочитаны столбцы: %1. Столбца количества нет, поэтому каждая строка считается одним бревном.",
           "Columns not read: %1. No column holds the count, so every row counts as one log."}},
    {166, {"Не прочитано стовпці: %1. Стовпця кількості немає, тому кожен рядок рахується як одна дошка.",
           "Не прочитаны столбцы: %1. Столбца количества нет, поэтому каждая строка считается одной доской.",
           "Columns not read: %1. No column holds the count, so every row counts as one board."}},
    {167, {"Колод: %1, об'єм %2 м3.", "Брёвен: %1, объём %2 м3.", "Logs: %1, volume %2 m3."}},
    {168, {"Дошок: %1, об'єм %2 м3.", "Досок: %1, объём %2 м3.", "Boards: %1, volume %2 m3."}},
    {169, {"Підходять заголовки: %1.", "Подходят заголовки: %1.", "Captions taken for it: %1."}},

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
    // 199-209: the trade rules beside the four methods.
    {199, {"Правила інших ринків", "Правила других рынков", "Other trades' rules"}},
    {200, {"Правило", "Правило", "Rule"}},
    {201, {"Одиниця", "Единица", "Unit"}},
    {202, {"Замалі (0), шт.", "Слишком малые (0), шт.", "Too small (0), pcs."}},
    {203, {"JAS", "JAS", "JAS"}},
    {204, {"Хоппус", "Хоппус", "Hoppus"}},
    {205, {"Дойл", "Дойл", "Doyle"}},
    {206, {"Міжнародне 1/4 дюйма", "Международное 1/4 дюйма", "International 1/4-inch"}},
    {207, {"хоп. м3", "хоп. м3", "Hoppus m3"}},
    {208, {"дошк. фут", "доск. фут", "bd ft"}},
    {209, {"  --method jas|hoppus|doyle|intl  правило ринку замість методу: JAS і Хоппус у м3, Дойл і Міжнародне 1/4 дюйма в дошкових футах (без ваги)\n",
           "  --method jas|hoppus|doyle|intl  правило рынка вместо метода: JAS и Хоппус в м3, Дойл и Международное 1/4 дюйма в досковых футах (без веса)\n",
           "  --method jas|hoppus|doyle|intl  a market's rule instead of a method: JAS and Hoppus in m3, Doyle and International 1/4-inch in board feet (no weight)\n"}},

    // 220-239: the maker's service.
    {220,
     {"Оновлення не завантажено або воно не має підпису виробника; програма залишилась без змін.",
      "Обновление не загружено или не имеет подписи производителя; программа осталась без изменений.",
      "The update could not be downloaded or does not carry the maker's signature; the program is left as it was."}},

    {221, {"Розмова задовга для одного повідомлення: надіслано останні рядки (%1 з %2).",
           "Разговор слишком длинный для одного сообщения: отправлены последние строки (%1 из %2).",
           "The conversation is too long for one message: its newest lines were sent (%1 of %2)."}},
    {222, {"Відповідь не надіслано; її текст залишився в полі.", "Ответ не отправлен; его текст остался в поле.",
           "The reply was not sent; its text is left in the field."}},

    // 240-259: reliability and speed.
    {240, {"Не вдалося зберегти журнал у файл: ", "Не удалось сохранить журнал в файл: ",
           "Could not save the log to file: "}},
    {241, {"Не вдалося зберегти налаштування та списки (диск заповнений або недоступний для запису): ",
           "Не удалось сохранить настройки и списки (диск заполнен или недоступен для записи): ",
           "Could not save the settings and lists (the disk is full or cannot be written): "}},

    // 260-279: printouts, texts that fit, lines that do not read.
    {260, {"Це не число для цього стовпця; у комірці залишено попереднє значення.",
           "Это не число для этого столбца; в ячейке оставлено прежнее значение.",
           "This is not a number for this column; the cell keeps its former value."}},

    // 280-299: undo of the lists.
    {280, {"Скасувати: %1", "Отменить: %1", "Undo %1"}},
    {281, {"Повторити: %1", "Повторить: %1", "Redo %1"}},
    {282, {"Скасувати", "Отменить", "Undo"}},
    {283, {"Повторити", "Повторить", "Redo"}},
    {284, {"додавання", "добавление", "add"}},
    {285, {"зміна значення", "изменение значения", "edit"}},
    {286, {"видалення рядка", "удаление строки", "delete line"}},
    {287, {"очищення списку", "очистка списка", "clear list"}},
    {288, {"сортування", "сортировка", "sort"}},
    {289, {"імпорт", "импорт", "import"}},
    {290, {"вставлення", "вставка", "paste"}},
    {291, {"відкриття розрахунку", "открытие расчёта", "open calculation"}},

    // 300-329: the lot's acceptance document.
    {300, {"Акт приймання-передачі лісоматеріалів", "Акт приёмки-передачи лесоматериалов",
           "Timber acceptance certificate"}},
    {301, {"Партія №", "Партия №", "Lot No."}},
    {302, {"Продавець", "Продавец", "Seller"}},
    {303, {"Покупець", "Покупатель", "Buyer"}},
    {304, {"Місце", "Место", "Place"}},
    {305, {"підпис", "подпись", "signature"}},
    {306, {"Рядки списку", "Строки списка", "Lines of the list"}},
    {307, {"так", "да", "yes"}},

    // 340-349: parts of the program carried inside it.
    {340, {"Частину функцій Zelmora не вдалося запустити: експорт до таблиць, діаграма підсумку партії або зв'язок із сервісом у цьому сеансі не працюватимуть. Причину записано в журнал.",
           "Часть функций Zelmora не удалось запустить: экспорт в таблицы, диаграмма итогов партии или связь с сервисом в этом сеансе работать не будут. Причина записана в журнал.",
           "Some of Zelmora's functions could not be started: the export to spreadsheets, the lot summary's chart or the online service will not work in this session. The reason is written in the log."}},

    // 350-359: a program installed from a package.
    {350, {"Цю копію Zelmora встановлено з пакунка: оновлення надходять разом з оновленнями пакунків системи.",
           "Эта копия Zelmora установлена из пакета: обновления приходят вместе с обновлениями пакетов системы.",
           "This copy of Zelmora was installed from a package: its updates come with the system's package updates."}},

    // 360-399: the calculation base on an office's server.
    {360, {"Хто", "Кто", "Who"}},
    {361, {"Комп'ютер", "Компьютер", "Computer"}},
    {362, {"База розрахунків", "База расчётов", "Calculation base"}},
    {363, {"цей комп'ютер", "этот компьютер", "this computer"}},
    {364, {"сервер", "сервер", "a server"}},
    {365, {"Сервер (вузол:порт або тека сокета)", "Сервер (узел:порт или папка сокета)",
           "Server (host:port or socket folder)"}},
    {366, {"База даних", "База данных", "Database"}},
    {367, {"Користувач", "Пользователь", "User"}},
    {368, {"Перевірити з'єднання", "Проверить соединение", "Test connection"}},
    {369, {"Сервер відповідає; ви можете читати й записувати базу.",
           "Сервер отвечает; вы можете читать и записывать базу.",
           "The server answers; you may read and write the base."}},
    {370, {"Сервер відповідає, але ви не можете читати й записувати базу: %1",
           "Сервер отвечает, но вы не можете читать и записывать базу: %1",
           "The server answers, but you may not read and write the base: %1"}},
    {371, {"Сервер не відповідає: %1", "Сервер не отвечает: %1", "The server does not answer: %1"}},
    {372, {"Сервер бази розрахунків недоступний, тому розрахунок не збережено. Ваш список залишився як був; спробуйте ще раз, коли сервер відповідатиме.",
           "Сервер базы расчётов недоступен, поэтому расчёт не сохранён. Ваш список остался как был; попробуйте ещё раз, когда сервер будет отвечать.",
           "The calculation base's server cannot be reached, so the calculation was not saved. Your list is kept as it is; try again when the server answers."}},
    {373, {"Сервер бази розрахунків недоступний; показано те, що було прочитано раніше.",
           "Сервер базы расчётов недоступен; показано то, что было прочитано ранее.",
           "The calculation base's server cannot be reached; what was read before is shown."}},
    {374, {"Цей розрахунок видалено на іншому робочому місці.",
           "Этот расчёт удалён на другом рабочем месте.",
           "This calculation was deleted at another desk."}},
    {375, {"Базу на сервері створила новіша версія програми (версія бази %1); ця програма її не змінює. Оновіть програму.",
           "Базу на сервере создала более новая версия программы (версия базы %1); эта программа её не изменяет. Обновите программу.",
           "The base on the server was made by a later version of the program (base version %1); this program leaves it unchanged. Update the program."}},
    {376, {"База даних на сервері містить інші дані, а не базу розрахунків; ця програма її не змінює.",
           "База данных на сервере содержит другие данные, а не базу расчётов; эта программа её не изменяет.",
           "The database on the server holds other data, not a calculation base; this program leaves it unchanged."}},
    {377, {"Базу розрахунків на сервері не вдалося прочитати або записати: %1",
           "Базу расчётов на сервере не удалось прочитать или записать: %1",
           "The calculation base on the server could not be read or written: %1"}},
    {378, {"Скопіювати базу цього комп'ютера на сервер", "Скопировать базу этого компьютера на сервер",
           "Copy this computer's base to the server"}},
    {379, {"Скопійовано записів на сервер: %1.", "Скопировано записей на сервер: %1.",
           "%1 records copied to the server."}},

    {-1, {"", "", ""}}, // end mark: the table may not be empty
};

const int kLangMoreEntries = static_cast<int>(sizeof LangMoreTable / sizeof LangMoreTable[0]) - 1;

} // namespace zel
