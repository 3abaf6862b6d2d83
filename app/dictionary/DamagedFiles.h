#pragma once

#include "platform/storage/RecordFile.h"
#include "platform/storage/RecordFileManager.h"

#include <string>

// The way out of a data file found damaged that the program can make again: after a question
// the damaged file is set aside as "<name>.bad" (kept for whoever wants to look at it) and a
// new empty one takes its name.
namespace app {

// Whether the calling thread's file is known to be damaged: damage was met in it, or (when the
// thread could not open it) an open is refused for damage. The probe reports nothing.
bool fileIsDamaged(platform::storage::RecordFile& file);

// The question for a file that can be made again (Windows-1251): "Файл прайс-листа повреждён.
// Создать его заново?"; with thenLoad it ends "... заново и загрузить прайс-лист?".
std::string newFileQuestion(const platform::storage::RecordFile& file, bool thenLoad = false);

// Sets the damaged file aside as "<disk name>.bad" (its journal with it) and makes a new empty
// one under its name. A thread that had it open has it open again, on the new file; one whose
// open had failed opens it through the relation, so the open counts stay right. 0, or the
// code of the failure, which a box captioned "Ошибка" has said (the file then stays as it was;
// another window or program that has it open keeps it from being replaced).
int replaceDamagedFile(platform::storage::FileRelation& relation);

// The question (captioned as given), then on "Да" the replacement; true when the file was made
// anew.
bool offerNewFile(platform::storage::FileRelation& relation, const std::string& question,
                  const std::string& caption);

} // namespace app
