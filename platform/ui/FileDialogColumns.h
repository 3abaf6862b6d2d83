#pragma once

class QFileDialog;

namespace platform::ui {

// The file dialog's size, type and date columns in the program's own language and locale (the
// default locale and translations it sets at start), not the system's, each wide enough for
// what it shows. Qt's own texts of these columns follow the system locale.
void showColumnsInProgramLocale(QFileDialog& dialog);

} // namespace platform::ui
