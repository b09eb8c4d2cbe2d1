#pragma once

#include <QStringView>

// Every text the windows show to the user, in one place. Control names that only tests and
// assistive technology read stay beside the controls.
namespace Texts {

// The main window.
inline constexpr QStringView ApplicationTitleText = u"Программа расчета стажа";
inline constexpr QStringView CaptionText = u"Калмир 1.0.1";
inline constexpr QStringView FileMenuText = u"Файл";
inline constexpr QStringView AboutMenuText = u"О программе";
inline constexpr QStringView AliasLabelText = u"Название:";
inline constexpr QStringView DateFromLabelText = u"Начало:";
inline constexpr QStringView DateToLabelText = u"Конец:";
inline constexpr QStringView AddIntervalText = u"Добавить";
inline constexpr QStringView UpdateIntervalText = u"Обновить";
inline constexpr QStringView ClearButtonText = u"Очистить";
inline constexpr QStringView CalculatingGroupBoxText = u"Расчет";
inline constexpr QStringView TotalIntervalLabelText = u"Совокупный стаж:";
inline constexpr QStringView UnBrokenLabelText = u"Дата непрерывного стажа:";
inline constexpr QStringView IncomeDateHintText = u"Дата приема";
inline constexpr QStringView UnbrokenDateUpdateButtonText = u"@";
inline constexpr QStringView SavedGroupBoxText = u"Сохраненные";
inline constexpr QStringView SaveUserButtonText = u"+";
inline constexpr QStringView IntervalsListName = u"Периоды";
inline constexpr QStringView SavedListName = u"Сохраненные записи";
inline constexpr QStringView SaveEditName = u"Название записи";
inline constexpr QStringView TotalDescription = u"Совокупный стаж";
inline constexpr QStringView SelectedNameDescription = u"Выбранный период";
inline constexpr QStringView SelectedLengthDescription = u"Стаж выбранного периода";
inline constexpr QStringView UnbrokenDateDescription = u"Дата непрерывного стажа";
inline constexpr QStringView SelectLineMessage = u"Выберите строку для коррекции";
inline constexpr QStringView EnterNameMessage = u"Введите название записи";
inline constexpr QStringView InvalidCharacterMessage = u"Недопустимый символ в названии";
inline constexpr QStringView RecordAddedMessage = u"Информация добавлена";
inline constexpr QStringView RecordChangedMessage = u"Информация изменена";
inline constexpr QStringView RecordNotFoundMessage = u"Запись не найдена";
inline constexpr QStringView ReadFailedMessage
    = u"Не удалось прочитать файл сохраненных записей %1:\n%2\n\n"
      u"Файл будет оставлен как есть: записи, сохраненные за этот сеанс, в него не попадут.";
inline constexpr QStringView WriteFailedMessage
    = u"Не удалось записать файл сохраненных записей %1:\n%2\n\n"
      u"Если закрыть программу без сохранения, изменения записей за этот сеанс "
      u"будут потеряны, а файл останется прежним.";
inline constexpr QStringView OkText = u"ОК";
inline constexpr QStringView RetryText = u"Повторить";
inline constexpr QStringView CloseWithoutSavingText = u"Закрыть без сохранения";

// Keyboard commands, undo, refused characters and the names assistive technology reads.
inline constexpr QStringView EditMenuText = u"&Правка";
inline constexpr QStringView UndoText = u"Отменить";
inline constexpr QStringView RedoText = u"Повторить";
inline constexpr QStringView CorrectPeriodText = u"Исправить выбранный период";
inline constexpr QStringView ClearListText = u"Очистить список";
inline constexpr QStringView GoToSavedText = u"Перейти к сохраненным записям";
inline constexpr QStringView SaveRecordText = u"Сохранить запись";
inline constexpr QStringView OpenRecordText = u"Открыть выбранную запись";
inline constexpr QStringView DeleteRecordText = u"Удалить выбранную запись";
// The message "Недопустимый символ в названии" (%1) followed by the refused character (%2).
inline constexpr QStringView RefusedCharacterMessage = u"%1 \u00ab%2\u00bb";
// A character that cannot be seen, by its code (%1, four or more hexadecimal digits).
inline constexpr QStringView CharacterCode = u"U+%1";
inline constexpr QStringView UnbrokenDateUpdateButtonName = u"Пересчитать дату непрерывного стажа";
inline constexpr QStringView SaveUserButtonName = u"Сохранить запись";
// A read-out as a screen reader names it: its caption (%1), then its value (%2).
inline constexpr QStringView ReadOutName = u"%1: %2";
// What an empty read-out or an empty date field reads as.
inline constexpr QStringView EmptyText = u"пусто";

// The About window.
inline constexpr QStringView AboutCaption = u"О программе Калмир 1.0";
inline constexpr QStringView AboutGroupCaption = u"Информация";
inline constexpr QStringView AboutLinkCaption = u"Дополнительная информация";
inline constexpr QStringView AboutOkCaption = u"Ок";
inline constexpr QStringView AboutLinkDescription = u"Открывает страницу программы в браузере";
inline constexpr QStringView AboutTermsOfUse
    = u"Программа Калмир распространяется бесплатно.\n"
      u"\n"
      u"1. Все права на программу Калмир принадлежат ее авторам. Настоящие условия не передают "
      u"вам этих прав, а только разрешают пользоваться программой.\n"
      u"\n"
      u"2. Вы можете бесплатно устанавливать программу на любое число компьютеров и пользоваться "
      u"ею дома, на работе и в учебных заведениях.\n"
      u"\n"
      u"3. Распространять программу разрешается только в неизменном виде, вместе с этими "
      u"условиями и без платы за саму программу.\n"
      u"\n"
      u"4. Запрещается изменять программу, разбирать ее на части, продавать ее или выдавать "
      u"за свою.\n"
      u"\n"
      u"5. Программа предоставляется \u00abкак есть\u00bb. Авторы программы Калмир не дают "
      u"никаких гарантий, явных или подразумеваемых, в том числе гарантий пригодности "
      u"программы для какой-либо цели.\n"
      u"\n"
      u"6. Авторы не отвечают за прямой или косвенный ущерб, в том числе за потерю данных, "
      u"возникший из-за использования программы или невозможности ее использовать.\n"
      u"\n"
      u"7. Результаты расчета стажа носят справочный характер. Прежде чем использовать их в "
      u"документах, сверьте их с трудовой книжкой и другими первичными документами.\n"
      u"\n"
      u"8. Программа ничего не передает по сети. Сохраненные записи хранятся только в файле "
      u"u.ini в папке программы, а если в нее писать нельзя, то в папке данных пользователя; путь к файлу "
      u"показан ниже.\n"
      u"\n"
      u"9. Устанавливая программу и пользуясь ею, вы принимаете эти условия. Если вы с ними "
      u"не согласны, удалите программу с компьютера.";

// The data file shared by several windows, written after every record command.
inline constexpr QStringView WriteFailedDuringRunMessage
    = u"Не удалось записать файл сохраненных записей %1:\n%2\n\n"
      u"Изменения остались в памяти программы: она запишет их при следующем сохранении или "
      u"удалении записи и при закрытии.";
inline constexpr QStringView DataFileBusyQuestion
    = u"Файл сохраненных записей %1 занят другим окном программы.\n\n"
      u"Повторить попытку? Если отложить, изменения останутся в памяти программы и будут записаны "
      u"при следующем сохранении или удалении записи или при закрытии.";
inline constexpr QStringView LaterText = u"Отложить";
inline constexpr QStringView KeptVersionsMessage
    = u"Эти записи были изменены и в другом окне программы:\n%1\n\n"
      u"Здесь сохранены варианты этого окна. Варианты другого окна сохранены под новыми названиями; "
      u"они появятся в списке при следующем запуске.";
inline constexpr QStringView KeptVersionLine = u"«%1» — вариант другого окна: «%2»";
inline constexpr QStringView BackupMadeMessage
    = u"В файле сохраненных записей %1 были строки, которые программа не смогла прочитать. "
      u"Прежде чем перезаписать файл, она сохранила его прежнюю копию:\n%2";
inline constexpr QStringView RecoveryFileMessage
    = u"Файл сохраненных записей %1 не удалось прочитать, и он оставлен как есть. "
      u"Записи, сохраненные за этот сеанс, находятся в файле:\n%2";
inline constexpr QStringView AboutDataFileText = u"Файл записей: %1";

} // namespace Texts
