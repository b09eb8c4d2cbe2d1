#pragma once

class QCoreApplication;

// Qt's own texts in Russian: the context menus of the fields, the buttons of the standard
// dialogs, the reasons Qt gives for a failed file operation. Loads the translation "qtbase_ru"
// from the folder of the translations Qt was installed with and installs it into the
// application, which owns it from then on. Returns false, and changes nothing, when it is not
// installed: Qt's texts then stay English.
bool InstallQtTranslation(QCoreApplication& application);
