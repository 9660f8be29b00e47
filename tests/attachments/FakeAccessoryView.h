#pragma once

#include "AttachmentFixture.h"
#include "support/FakeBars.h"

#include "attachments/AccessoryView.h"

#include <QThread>

// A picture control that can be told the file is no picture.
class CheckingPicture final : public PictureControl
{
public:
    void setPicture(const QString &filePath) override
    {
        inner.setPicture(filePath);
        showing = !inner.shown.isEmpty() && !filePath.endsWith(QLatin1String(".txt"));
    }
    bool isShowingPicture() const override { return showing; }
    FakePicture inner;
    bool showing = false;
};

// The attachment window's view without widgets: memory grids, recording bars, file dialogs that
// answer from a script (nothing: cancelled) and a transfer wait that can cancel at once.
class FakeAccessoryView final : public AccessoryView
{
public:
    void setAccessory(frmAccessory *a) override { accessory = a; }
    void setCaption(const QString &c) override { caption = c; }
    void setButtons(const QList<Button> &b) override
    {
        buttons.clear();
        for (const Button &button : b)
            buttons << button.key + QLatin1Char('=') + button.caption;
    }
    ToolbarControl &toolbar() override { return bar; }
    CommandBarControl &commandBar() override { return commands; }
    int innerWidth() const override { return 600; }
    void showPicturePane(bool p) override { picturePane = p; }
    PictureControl &picture() override { return image; }
    void clearPicture() override
    {
        image.inner.shown.clear();
        image.showing = false;
        ++clears;
    }
    DataGridControl &tempGrid() override { return waiting; }
    DataGridControl &serverGrid() override { return stored; }
    void setFileLabels(const QString &n, const QString &s, const QString &t) override { labels = {n, s, t}; }
    std::optional<FileDialogChoice> chooseFileToOpen(const QString &filter, const QString &) override
    {
        openFilters << filter;
        if (opens.isEmpty())
            return std::nullopt;
        const QString path = opens.takeFirst();
        if (path.isEmpty())
            return std::nullopt;
        return FileDialogChoice{path, QFileInfo(path).fileName()};
    }
    QString chooseFileToSave(const QString &filter, const QString &fileName, const QString &suffix) override
    {
        saveDialogs << filter + QLatin1Char('|') + fileName + QLatin1Char('|') + suffix;
        return saves.isEmpty() ? QString() : saves.takeFirst();
    }
    void showStatus(const QString &t) override { status = t; }
    void execModal(ManagedWindow *) override { ++modal; }
    void closeWindow() override { ++closes; }
    void waitFor(const QString &label, TransferProgress &progress, const std::function<bool()> &finished) override
    {
        waits << label;
        if (cancelTransfers)
            progress.cancelled = true;
        while (!finished())
            QThread::msleep(2);
    }

    bool enabled(const QString &key) const { return bar.isButtonEnabled(key); }

    QStringList log;
    FakeToolbar bar{log};
    FakeCommandBar commands{log};
    CheckingPicture image;
    MemoryDataGrid waiting = AttachmentTest::tempGrid();
    MemoryDataGrid stored = AttachmentTest::serverGrid();
    frmAccessory *accessory = nullptr;
    QString caption;
    QStringList buttons;
    bool picturePane = false;
    int clears = 0;
    QStringList labels;
    QStringList opens; // paths the open dialog answers with, in turn; "" cancels
    QStringList openFilters;
    QStringList saves; // paths the save dialog answers with; "" cancels
    QStringList saveDialogs;
    QString status;
    int modal = 0;
    int closes = 0;
    QStringList waits;
    bool cancelTransfers = false;
};
