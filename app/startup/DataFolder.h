#pragma once

#include <Riri/ComponentFolder.h>

#include <QString>

// The folders start-up prepares for the layout the program was configured
// for. installFolder holds the program and its read-only files; dataFolder
// is where the database, error.log and the help viewer's search index go
// (the component's folder).

// The first start of the packaged layout: when dataFolder does not exist, it
// is made (mode 0700: only its user may enter it) and the empty database
// that comes with the program (home/inv.inv below installFolder) is copied
// into its home/. A folder that exists is left as it is, so a database
// missing there is reported, never replaced by an empty one. Nothing to do
// in the self-contained layout. Throws Riri::Error (76) when the folder or
// the copy cannot be made, leaving no half-made folder behind.
void prepareDataFolder(Riri::Layout layout, const QString& dataFolder,
                       const QString& installFolder);

// The help collection the help window opens: help/quorvane.qhc below
// installFolder in the self-contained layout; in the packaged layout a copy
// below dataFolder, since the help engine writes its search index beside the
// collection.
QString helpCollectionFile(Riri::Layout layout, const QString& dataFolder,
                           const QString& installFolder);

// Copies the help file and its collection from installFolder/help into
// dataFolder/help when the copy is missing or differs from the installed
// files (after an upgrade), dropping the search index built for the old one.
// False when a copy failed.
bool refreshHelpCopy(const QString& dataFolder, const QString& installFolder);
