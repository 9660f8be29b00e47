#pragma once

#include <QString>

// What the user chose in the file dialog: the file's full path and its name without folder.
struct FileDialogChoice
{
    QString fileName;  // full path
    QString FileTitle; // name without folder
};
