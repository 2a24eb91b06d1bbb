// File names and safe replacement of files, shared by the file menu, the
// picture exports and the batch mode.
#pragma once

#include <QString>
#include <functional>

class UserDialogs;

// The part of the file name from its last dot on; "" when it has no dot.
// Compared exactly by the callers: ".tlo" and ".TLO" differ from ".Tlo".
QString FileExtension(const QString& path);
bool IsDrawingFileName(const QString& path);  // ".tlo" or ".TLO"
bool IsPictureFileName(const QString& path);  // ".bmp", ".BMP", ".jpg", ".JPG"

// A regular file (or a link to one) is at the path; a folder is not a file.
bool IsFileAt(const QString& path);

// The backup of a path: same folder, the file name without its extension,
// then ".bak" (e.tlo → e.bak, e.bmp → e.bak).
QString BackupName(const QString& path);

// Gives an existing file its backup name: as a second name of the same
// file (a hard link), so that it keeps its own name too, or where the file
// system has no such names by renaming it. When a file already has the
// backup name nothing happens: the first backup is kept. True when a backup
// was made now.
bool MakeBackup(const QString& path);

// Replaces the file at `path` without ever losing its old content: `write`
// fills a fresh temporary file in the same folder (true on success), which
// takes over the old file's permission bits (and owner and group, as far as
// this user may) and is flushed to the disk; only then, when `backup` is
// set, the old file gets its backup name as well, and the new one is renamed
// over it, so that the name never stands empty; last the folder is flushed.
// When `path` is a symbolic link, the file it points to is replaced and
// backed up in its own folder, and the link stays. Leftover temporary files
// of saves that crashed long ago are removed from that folder first. False
// when anything failed (also for a folder, device or pipe at the path, and
// when the folder takes no new file); the old file and its backup are then
// as they were and no temporary file is left behind. On failure `*tempPath`
// (when given) names the temporary file that was used, empty if none could
// be made.
bool ReplaceFile(const QString& path, bool backup, const std::function<bool(const QString& tempPath)>& write,
                 QString* tempPath = nullptr);

// Removes the temporary files that saves and exports killed long ago left in
// a folder ("" is the working folder): only our own names (".tamlo-" and 16
// hex digits, ".tmp"), only plain files of this user, only ones untouched
// for a quarter of an hour (no save or export still at work writes so
// slowly). Every save and export calls it for the folder it writes to.
void RemoveStaleTempFiles(const QString& folder);

// Writes `bytes` to a new file, checking every write, the flush to the disk
// and the close.
bool WriteWholeFile(const QString& path, const QByteArray& bytes);

// A drawing file keeps the name of a background picture on one line: a name
// with a line break (CR or LF) cannot be kept. False for such a name, after
// telling the user why; checked before the picture is loaded, so nothing
// changes. Every way of choosing a background calls it.
bool PictureNameFitsDrawing(UserDialogs& dialogs, const QString& path);

// Makes the folder of a file the working folder, as choosing it in a file
// dialog does.
void EnterFolderOf(const QString& path);
