#pragma once

#include "platform/storage/RecordFile.h"
#include "platform/storage/RecordFileManager.h"

#include <string>

// The way out of a data file found damaged that the program can make again: after a question
// the damaged file is set aside as "<name>.bad" (kept for whoever wants to look at it; a copy
// already there is never replaced: the next is "<name>.bad-2", "<name>.bad-3" ...) and a new
// one takes its name, empty or holding every record that could still be read.
namespace app {

// Whether the calling thread's file is known to be damaged: damage was met in it, or (when the
// thread could not open it) an open is refused for damage. The probe reports nothing. An
// enciphered file is the program's own, under its own password: when a read-only open (which
// no lock refuses) of a file the system lets it read is refused, its pages do not decipher.
bool fileIsDamaged(platform::storage::RecordFile& file);

// The question for a file that can be made again (Windows-1251): "Файл прайс-листа повреждён.
// Создать его заново?"; with thenLoad it ends "... заново и загрузить прайс-лист?".
std::string newFileQuestion(const platform::storage::RecordFile& file, bool thenLoad = false);

// Sets the damaged file aside under the first free name of "<disk name>.bad", "<disk
// name>.bad-2" ... (its journal with it; that name in keptAs) and makes a new empty one under
// its name. A thread that had it open has it open again, on the new file; one whose
// open had failed opens it through the relation, so the open counts stay right. 0, or the
// code of the failure, which a box captioned "Ошибка" has said (the file then stays as it was;
// another window or program that has it open keeps it from being replaced).
int replaceDamagedFile(platform::storage::FileRelation& relation, std::string* keptAs = nullptr);

// The same, the new file then holding every record that can still be read off the damaged one
// (a record whose unique key another one already took is left out); their number in kept.
// The thread's record buffer stays as it was. 0, or the code of the failure: one of the
// replacement has been said; one of writing the records has not (the new file then holds
// what was written before it).
int replaceKeepingRecords(platform::storage::FileRelation& relation, int64_t& kept,
                          std::string& keptAs);

// The way out of a damaged file of the user's own values: every record that can still be read
// goes into a new file, without a question, and a box captioned "Сообщение" says the damage
// (36 and the file's name), how many records came back and where the damaged file was kept.
// True when the new file was made; the thread then has it open as replaceDamagedFile leaves it.
bool recoverDamagedFile(platform::storage::FileRelation& relation);

// The question (captioned as given), then on "Да" the replacement (keeping the readable records
// when asked to); true when the file was made anew. A "Нет" is remembered for the calling
// thread until the file is made anew (newFileDeclined).
bool offerNewFile(platform::storage::FileRelation& relation, const std::string& question,
                  const std::string& caption, bool keepRecords = false);

// Whether the calling thread's question about the file was answered "Нет": the answer stands
// for the windows of that thread, so none of them asks it again.
bool newFileDeclined(const platform::storage::RecordFile& file);

} // namespace app
