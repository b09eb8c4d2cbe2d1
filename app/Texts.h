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

// The insurance service: the main window's read-outs, the analysis window and the certificate.
inline constexpr QStringView DetailedCalculationMenuText = u"Подробный расчет...";
inline constexpr QStringView InsuranceTotalLabelText = u"Страховой стаж:";
inline constexpr QStringView InsuranceTotalDescription = u"Страховой стаж";
inline constexpr QStringView SickLeaveLineText = u"Больничный: %1 %";
inline constexpr QStringView SickLeaveDescription = u"Процент пособия";
inline constexpr QStringView InsuranceMethodText
    = u"Страховой стаж считается так, как его считает Социальный фонд: каждый календарный месяц, "
      u"отработанный полностью, — один месяц, дни неполных месяцев складываются, каждые 30 дней "
      u"составляют месяц, каждые 12 месяцев — год; пересекающиеся периоды учитываются один раз.";
inline constexpr QStringView InsuranceBasisText
    = u"Основание: Правила подсчета и подтверждения страхового стажа для определения размеров "
      u"пособий (приказ Минтруда России от 09.09.2020 № 585н) и Правила подсчета и подтверждения "
      u"страхового стажа для установления страховых пенсий (постановление Правительства РФ "
      u"от 02.10.2014 № 1015, п. 47).";
inline constexpr QStringView DesignedMethodText
    = u"Совокупный стаж: у каждого периода берется разность дат включительно в годах, месяцах и "
      u"днях, периоды складываются, а лишние дни переводятся в месяцы по средней длине месяца "
      u"30,4368499 дня.";
inline constexpr QStringView SickLeaveMethodText
    = u"Пособие по временной нетрудоспособности в процентах среднего заработка по ч. 1 ст. 7 "
      u"Федерального закона от 29.12.2006 № 255-ФЗ: при страховом стаже 8 лет и больше — 100 %, "
      u"от 5 до 8 лет — 80 %, меньше 5 лет — 60 %.";
inline constexpr QStringView SickLeaveTodayText = u"Стаж взят на сегодня, %1, вместе с текущей работой от даты приема.";
inline constexpr QStringView SickLeaveWithoutCurrentJobText
    = u"Текущая работа не учтена: дата приема не распознана или позже даты расчета.";
inline constexpr QStringView SickLeaveCapText
    = u"При стаже меньше 6 месяцев пособие не больше МРОТ за полный календарный месяц.";
inline constexpr QStringView UnbrokenDateStaleHint
    = u"Дата непрерывного стажа не пересчитана: дата приема не распознана или слишком ранняя. "
      u"Показана дата, посчитанная раньше, для прежних данных.";

// Findings on a period.
inline constexpr QStringView FromNotRealFinding = u"Дата начала %1 не существует в календаре";
inline constexpr QStringView ToNotRealFinding = u"Дата окончания %1 не существует в календаре";
inline constexpr QStringView NotCountedFinding = u"период не входит в страховой стаж";
inline constexpr QStringView EndBeforeStartFinding = u"Конец периода раньше начала";
inline constexpr QStringView AfterAsOfFinding = u"Дата периода позже даты расчета %1";
inline constexpr QStringView OverlapFinding = u"Пересекается с периодом %1 на %2 дн.";
inline constexpr QStringView MoreOverlapsFinding = u"и еще с %1 периодами";

// How a period's insurance line came about.
inline constexpr QStringView ExplainPeriodText = u"Период %1: %2 – %3.";
inline constexpr QStringView ExplainNotCountedText = u"Период не входит в страховой стаж.";
inline constexpr QStringView ExplainWholeMonthsText
    = u"Полные календарные месяцы: %1 – %2, всего %3; каждый считается месяцем, сколько бы в нем ни было дней.";
inline constexpr QStringView ExplainOneWholeMonthText
    = u"Полный календарный месяц: %1; он считается месяцем, сколько бы в нем ни было дней.";
inline constexpr QStringView ExplainNoWholeMonthText = u"Полных календарных месяцев нет.";
inline constexpr QStringView ExplainPartialMonthText = u"%1 — %2 дн.";
inline constexpr QStringView ExplainPartialDaysText = u"Дни неполных месяцев: %1; всего %2 дн.";
inline constexpr QStringView ExplainNoPartialDaysText = u"Неполных месяцев нет.";
inline constexpr QStringView ExplainDaysToMonthsText
    = u"%1 дн. по 30 дней в месяце = %2 мес. %3 дн.; всего месяцев %4 = %5 л. %6 мес.";
inline constexpr QStringView ExplainLineText = u"Страховой стаж периода: %1";
inline constexpr QStringView ExplainDesignedText = u"Совокупный стаж периода (разность дат): %1";
inline constexpr QStringView ExplainOverlapText = u"Дни пересечений учтены в итоге один раз.";
inline constexpr QStringView ExplainGapBeforeText = u"Перед периодом перерыв: %1";
inline constexpr QStringView MonthNames[12] = {u"январь", u"февраль", u"март", u"апрель", u"май", u"июнь", u"июль",
    u"август", u"сентябрь", u"октябрь", u"ноябрь", u"декабрь"};

// The analysis window.
inline constexpr QStringView AnalysisCaption = u"Подробный расчет стажа";
inline constexpr QStringView AsOfLabelText = u"На дату:";
inline constexpr QStringView HireDateLabelText = u"Дата приема:";
inline constexpr QStringView CurrentJobText = u"Учитывать текущую работу с даты приема";
inline constexpr QStringView CurrentJobNotUsableText = u"(дата приема не распознана или позже даты расчета)";
inline constexpr QStringView NumberColumn = u"№";
inline constexpr QStringView NameColumn = u"Название";
inline constexpr QStringView FromColumn = u"Начало";
inline constexpr QStringView ToColumn = u"Конец";
inline constexpr QStringView DesignedColumn = u"Совокупный стаж";
inline constexpr QStringView InsuranceYearsColumn = u"Страховой: лет";
inline constexpr QStringView InsuranceMonthsColumn = u"Страховой: мес.";
inline constexpr QStringView InsuranceDaysColumn = u"Страховой: дн.";
inline constexpr QStringView InsuranceColumn = u"Страховой стаж";
inline constexpr QStringView CalendarDaysColumn = u"Календарных дней";
inline constexpr QStringView FindingsColumn = u"Замечания";
inline constexpr QStringView ExplanationTitle = u"Как посчитан выбранный период";
inline constexpr QStringView ExplanationPrompt = u"Выберите период в таблице.";
inline constexpr QStringView TotalsTitle = u"Итоги";
inline constexpr QStringView DesignedTotalCaption = u"Совокупный стаж:";
inline constexpr QStringView InsuranceTotalCaption = u"Страховой стаж:";
inline constexpr QStringView CalendarDaysCaption = u"Календарных дней:";
inline constexpr QStringView OverlapDaysCaption = u"Дней в пересечениях (учтены один раз):";
inline constexpr QStringView GapsCaption = u"Перерывы:";
inline constexpr QStringView InsuranceAsOfCaption = u"Страховой стаж на %1:";
inline constexpr QStringView SickLeaveCaption = u"Пособие по болезни:";
inline constexpr QStringView ThresholdCaption = u"%1 %2 стажа:";
inline constexpr QStringView NoGapsText = u"нет";
inline constexpr QStringView GapText = u"с %1 по %2 — %3 дн.";
inline constexpr QStringView SickLeaveValueText = u"%1 % среднего заработка";
inline constexpr QStringView SickLeaveCappedText = u"%1 % среднего заработка, не больше МРОТ (стаж меньше 6 месяцев)";
inline constexpr QStringView ThresholdBeforeHireText = u"достигнут до даты приема";
inline constexpr QStringView ThresholdNoHireText = u"не определить: текущая работа не учтена";
inline constexpr QStringView YearWords[3] = {u"год", u"года", u"лет"};
inline constexpr QStringView PrintButtonText = u"Печать...";
inline constexpr QStringView SavePdfButtonText = u"Сохранить PDF...";
inline constexpr QStringView CopyButtonText = u"Копировать";
inline constexpr QStringView CloseButtonText = u"Закрыть";
inline constexpr QStringView SavePdfTitle = u"Сохранить справку в PDF";
inline constexpr QStringView PdfFilter = u"Документ PDF (*.pdf)";
inline constexpr QStringView PdfDefaultName = u"Справка о стаже.pdf";
inline constexpr QStringView PdfFailedMessage = u"Не удалось записать файл %1:\n%2";

// The certificate.
inline constexpr QStringView CertificateTitle = u"Расчет страхового стажа";
inline constexpr QStringView CertificateRecordText = u"Запись: %1";
inline constexpr QStringView CertificateDateText = u"Дата расчета: %1";
inline constexpr QStringView CertificateHireText = u"Дата приема на текущую работу: %1";
inline constexpr QStringView CertificatePeriodsTitle = u"Периоды работы";
inline constexpr QStringView CertificateTotalsTitle = u"Итоги и способ расчета";
inline constexpr QStringView CertificateNoPeriodsText = u"Периодов нет.";
inline constexpr QStringView CertificateTotalRow = u"Итого";
inline constexpr QStringView CertificateOverlapsText
    = u"Календарных дней: %1; из них в пересечениях периодов %2 дн., они учтены один раз.";
inline constexpr QStringView CertificateGapsText = u"Перерывы между периодами: %1";
inline constexpr QStringView CertificateSickLeaveTitle = u"Пособие и даты стажа";
inline constexpr QStringView CertificateAsOfText = u"Страховой стаж на %1 с текущей работой: %2";
inline constexpr QStringView CertificateAsOfWithoutJobText = u"Страховой стаж на %1 без текущей работы: %2";
inline constexpr QStringView CertificateSickLeaveText = u"Пособие по временной нетрудоспособности: %1.";
inline constexpr QStringView CertificateThresholdText = u"%1 %2 страхового стажа: %3.";
inline constexpr QStringView CertificateFooter
    = u"Расчет выполнен программой Калмир и носит справочный характер: сверьте его с трудовой "
      u"книжкой и другими документами о стаже.";
inline constexpr QStringView CertificateSignature = u"Расчет проверил: ____________________  /____________________/";

} // namespace Texts
