#pragma once

#include <QString>

// The host's picture control, as the attachment code sees it: it shows a picture loaded from a file.
class PictureControl
{
public:
    virtual ~PictureControl() = default;

    // Loads the picture in `filePath` and shows it. The file is read during the call; the caller
    // may delete it as soon as the call returns. A file that is not a picture shows nothing.
    virtual void setPicture(const QString &filePath) = 0;
    // Whether the last file given could be shown as a picture. A control that cannot tell
    // answers true.
    virtual bool isShowingPicture() const { return true; }
};
