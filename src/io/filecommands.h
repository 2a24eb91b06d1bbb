// File names and safe replacement of files, shared by the file menu, the
// picture exports and the batch mode.
#pragma once

#include <QString>
#include <functional>

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

// Renames an existing file to its backup name. When the rename fails, in
// particular because an older backup has that name, nothing happens: the
// first backup is kept. True when a backup was made now.
bool MakeBackup(const QString& path);

// Replaces the file at `path` without ever losing its old content: `write`
// fills a fresh temporary file in the same folder (true on success); only
// then, when `backup` is set, the old file becomes its backup, and the new
// one is renamed into place. False when anything failed; the old file and
// its backup are then as they were and no temporary file is left behind.
// On failure `*tempPath` (when given) names the temporary file that was used,
// empty if none could be made.
bool ReplaceFile(const QString& path, bool backup, const std::function<bool(const QString& tempPath)>& write,
                 QString* tempPath = nullptr);

// Writes `bytes` to a new file, checking every write, the flush to the disk
// and the close.
bool WriteWholeFile(const QString& path, const QByteArray& bytes);

// Makes the folder of a file the working folder, as choosing it in a file
// dialog does.
void EnterFolderOf(const QString& path);
