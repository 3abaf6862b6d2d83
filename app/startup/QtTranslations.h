#pragma once

class QCoreApplication;
class QTranslator;

namespace app {

// Qt's own dialogs (file, folder, printer) speak the program's language: Russian texts from
// Qt's translation files and the Russian locale as the default. The translator installed (owned
// by the application), or nullptr when the files are missing and the dialogs stay in English.
QTranslator* InstallQtTranslations(QCoreApplication& application);

} // namespace app
