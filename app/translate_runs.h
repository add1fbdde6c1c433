// The window's side of translation runs: the preview before the run, and undoing the last run.
#pragma once

#include "base/project.h"
#include "translate/translate_command.h"

#include <QString>

class QWidget;

namespace wordloom {

class CommandHost;
class StringsTable;

/// Works out what the run will do (changing nothing), shows it in the preview, and runs the
/// Translate command (question included) when the user goes on. The run is recorded in the journal
/// beside the strings table at `tablePath`. A failure found while working the run out is reported
/// as the run itself would report it.
void TranslateWithPreview(QWidget* window, StringsTable& table, const ProjectSettings& settings,
                          CommandHost& host, const QString& tablePath, FormFormat formFormat);

/// At the window's start: puts right what a run of the project killed meanwhile left (the files
/// it had replaced get their originals back), so no project stays half translated until the next
/// Translate. A table that cannot be written cannot have recorded a run since: nothing to do then.
void RecoverInterruptedRunsAtStart(const ProjectSettings& settings, CommandHost& host,
                                   const QString& tablePath);

/// Undoes the project's last recorded run after asking; files changed since the run are listed and
/// put back only when the user says so.
void UndoLastTranslation(const ProjectSettings& settings, CommandHost& host, const QString& tablePath);

} // namespace wordloom
