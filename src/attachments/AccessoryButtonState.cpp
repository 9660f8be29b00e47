#include "AccessoryButtonState.h"

#include "host/ToolbarControl.h"

namespace {

enum Cell : char { On, Off, Same };

struct StateRow
{
    fileType mode;
    const char *after;
    Cell open, upload, download, remove;
};

constexpr StateRow kStates[] = {
    {fileType::Picture, "All", On, Off, Off, Off},
    {fileType::Picture, "Load", On, Off, On, On},
    {fileType::Picture, "PicOpenFile", Same, On, Off, Off},
    {fileType::Picture, "PicUp", Same, Off, On, On},
    {fileType::annex, "All", On, Off, Off, Off},
    {fileType::annex, "AnnexOpenFile", Same, On, Off, Same},
    {fileType::annex, "AnnexDownLoad", Same, Off, On, On},
    {fileType::annex, "TempRow", Same, On, Off, On},
};

void set(ToolbarControl &toolbar, const QString &key, Cell cell)
{
    if (cell != Same)
        toolbar.setButtonEnabled(key, cell == On);
}

} // namespace

namespace AccessoryButtonState {

QString openKey(fileType mode)
{
    return mode == fileType::Picture ? QStringLiteral("PicOpenFile") : QStringLiteral("AnnexOpenFile");
}

QString uploadKey(fileType mode)
{
    return mode == fileType::Picture ? QStringLiteral("PicUp") : QStringLiteral("AnnexUp");
}

QString downloadKey(fileType mode)
{
    return mode == fileType::Picture ? QStringLiteral("PicDownLoad") : QStringLiteral("AnnexDownLoad");
}

QString deleteKey()
{
    return QStringLiteral("Delete");
}

QString exitKey()
{
    return QStringLiteral("Exit");
}

void apply(ToolbarControl &toolbar, fileType mode, const QString &after, bool readOnly, bool filesWaiting)
{
    for (const StateRow &row : kStates) {
        if (row.mode != mode || after.compare(QLatin1String(row.after), Qt::CaseInsensitive) != 0)
            continue;
        set(toolbar, openKey(mode), row.open);
        set(toolbar, uploadKey(mode), row.upload);
        set(toolbar, downloadKey(mode), row.download);
        set(toolbar, deleteKey(), row.remove);
        // After an upload or a delete the states follow the grids: files still waiting can go up.
        if (mode == fileType::annex && filesWaiting && qstrcmp(row.after, "All") == 0)
            toolbar.setButtonEnabled(uploadKey(mode), true);
    }
    if (readOnly) {
        toolbar.setButtonEnabled(openKey(mode), false);
        toolbar.setButtonEnabled(uploadKey(mode), false);
        toolbar.setButtonEnabled(deleteKey(), false);
    }
    toolbar.setButtonEnabled(exitKey(), true);
}

} // namespace AccessoryButtonState
