#include "AccessoryDialog.h"

#include "CommandLook.h"

#include "AttachmentGrid.h"
#include "ClassicToolbar.h"
#include "CommandBar.h"
#include "ScaledPicture.h"

#include "attachments/FileDialogFilter.h"
#include "attachments/frmAccessory.h"
#include "card/CardView.h"
#include "card/frmManageSample.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QScopeGuard>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace {

bool &useQtDialogs()
{
    static bool qtDialogs = false;
    return qtDialogs;
}

const QList<CommandLook> kLooks = {
    {"PicOpenFile", QStyle::SP_DialogOpenButton, {QKeySequence(Qt::CTRL | Qt::Key_O)}},
    {"AnnexOpenFile", QStyle::SP_DialogOpenButton, {QKeySequence(Qt::CTRL | Qt::Key_O)}},
    {"PicUp", QStyle::SP_ArrowUp, {QKeySequence(Qt::CTRL | Qt::Key_U)}},
    {"AnnexUp", QStyle::SP_ArrowUp, {QKeySequence(Qt::CTRL | Qt::Key_U)}},
    {"PicDownLoad", QStyle::SP_DialogSaveButton, {QKeySequence(Qt::CTRL | Qt::Key_S)}},
    {"AnnexDownLoad", QStyle::SP_DialogSaveButton, {QKeySequence(Qt::CTRL | Qt::Key_S)}},
    {"Delete", QStyle::SP_TrashIcon, {QKeySequence(Qt::Key_Delete)}},
    {"Exit", QStyle::SP_DialogCloseButton, {}}, // Esc closes the dialog itself
};

QFileDialog::Options dialogOptions()
{
    return useQtDialogs() ? QFileDialog::DontUseNativeDialog : QFileDialog::Options();
}

} // namespace

AccessoryDialog::AccessoryDialog(QWidget *parent)
    : QDialog(parent)
    , m_toolbar(new ClassicToolbar(QStringLiteral("工具栏"), this))
    , m_commandBar(new CommandBar(QStringLiteral("命令"), this))
    , m_pages(new QStackedWidget(this))
    , m_pictureStack(new QStackedWidget(this))
    , m_picture(new ScaledPicture(this))
    , m_placeholder(new QLabel(QStringLiteral("暂无图片"), this))
    , m_tempGrid(new AttachmentGrid(QStringLiteral("TempGrid"),
                                    {QStringLiteral("序号"), QStringLiteral("文件名"), QStringLiteral("大小"),
                                     QStringLiteral("类型"), QStringLiteral("文件路径")},
                                    this))
    , m_serverGrid(new AttachmentGrid(
          QStringLiteral("ServerGrid"),
          {QStringLiteral("序号"), QStringLiteral("文件名"), QStringLiteral("大小"), QStringLiteral("类型")}, this))
    , m_fileName(new QLabel(this))
    , m_fileSize(new QLabel(this))
    , m_fileExtension(new QLabel(this))
    , m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("frmAccessory"));
    resize(760, 540);
    m_pages->addWidget(buildPicturePage());
    m_pages->addWidget(buildAnnexPage());

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_toolbar);
    layout->addWidget(m_commandBar);
    layout->addWidget(m_pages, 1);
    layout->addWidget(buildFileLabels());
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_status);

    connect(m_tempGrid, &AttachmentGrid::dataRowChosen, this, [this](int row) {
        if (m_accessory)
            m_accessory->TempGridClick(row);
    });
    connect(m_serverGrid, &AttachmentGrid::dataRowChosen, this, [this](int row) {
        if (m_accessory)
            m_accessory->ServerGridClick(row);
    });
    connect(m_picture, &ScaledPicture::pictureChanged, this,
            [this](bool showing) { m_pictureStack->setCurrentIndex(showing ? 1 : 0); });
}

AccessoryDialog::~AccessoryDialog() = default;

QWidget *AccessoryDialog::buildPicturePage()
{
    m_placeholder->setObjectName(QStringLiteral("lblImage"));
    m_placeholder->setAlignment(Qt::AlignCenter);
    m_placeholder->setFrameShape(QFrame::StyledPanel);
    m_pictureStack->addWidget(m_placeholder);
    m_pictureStack->addWidget(m_picture);
    return m_pictureStack;
}

QWidget *AccessoryDialog::buildAnnexPage()
{
    auto *splitter = new QSplitter(Qt::Vertical, this);
    auto pane = [this, splitter](const QString &labelName, const QString &caption, AttachmentGrid *grid) {
        auto *box = new QWidget(splitter);
        auto *column = new QVBoxLayout(box);
        column->setContentsMargins(0, 0, 0, 0);
        auto *label = new QLabel(caption, box);
        label->setObjectName(labelName);
        label->setBuddy(grid);
        column->addWidget(label);
        column->addWidget(grid, 1);
        splitter->addWidget(box);
    };
    pane(QStringLiteral("lblSaveFile"), QStringLiteral("等待上传的附件"), m_tempGrid);
    pane(QStringLiteral("lblServerFile"), QStringLiteral("原有附件"), m_serverGrid);
    m_tempGrid->setColumnWidth(1, 200);
    return splitter;
}

QWidget *AccessoryDialog::buildFileLabels()
{
    auto *row = new QWidget(this);
    auto *line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    m_fileName->setObjectName(QStringLiteral("lblFileName"));
    m_fileSize->setObjectName(QStringLiteral("lblFileSize"));
    m_fileExtension->setObjectName(QStringLiteral("lblFileExtension"));
    line->addWidget(m_fileName, 3);
    line->addWidget(m_fileSize, 1);
    line->addWidget(m_fileExtension, 1);
    return row;
}

void AccessoryDialog::setButtons(const QList<Button> &buttons)
{
    const QList<QAction *> old = m_toolbar->actions();
    for (QAction *a : old) {
        removeAction(a);
        m_toolbar->removeAction(a);
        a->deleteLater();
    }
    for (const Button &button : buttons) {
        QAction *a = m_toolbar->addAction(button.caption);
        a->setObjectName(button.key);
        applyLook(a, findLook(kLooks, button.key), button.caption);
        addAction(a); // the shortcut works whichever bar shows
        const QString key = button.key;
        connect(a, &QAction::triggered, this, [this, key] { run(key); });
    }
}

void AccessoryDialog::run(const QString &key)
{
    if (!m_accessory)
        return;
    m_status->clear();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    m_accessory->CommandClick(key);
}

ToolbarControl &AccessoryDialog::toolbar()
{
    return *m_toolbar;
}

CommandBarControl &AccessoryDialog::commandBar()
{
    return *m_commandBar;
}

void AccessoryDialog::showPicturePane(bool picture)
{
    m_pages->setCurrentIndex(picture ? 0 : 1);
}

PictureControl &AccessoryDialog::picture()
{
    return *m_picture;
}

void AccessoryDialog::clearPicture()
{
    m_picture->clear();
}

DataGridControl &AccessoryDialog::tempGrid()
{
    return *m_tempGrid;
}

DataGridControl &AccessoryDialog::serverGrid()
{
    return *m_serverGrid;
}

void AccessoryDialog::setFileLabels(const QString &name, const QString &size, const QString &type)
{
    m_fileName->setText(name);
    m_fileSize->setText(size);
    m_fileExtension->setText(type);
}

QString &AccessoryDialog::lastFolder()
{
    static QString folder;
    return folder;
}

std::optional<FileDialogChoice> AccessoryDialog::chooseFileToOpen(const QString &filter, const QString &fileName)
{
    QFileDialog dialog(this, QStringLiteral("打开"), lastFolder());
    dialog.setObjectName(QStringLiteral("codFile"));
    dialog.setOptions(dialogOptions());
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(FileDialogFilter::toQtFilters(filter));
    if (!fileName.isEmpty())
        dialog.selectFile(fileName);
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    QApplication::restoreOverrideCursor();
    if (!chosen)
        return std::nullopt;
    const QString path = dialog.selectedFiles().constFirst();
    lastFolder() = QFileInfo(path).absolutePath();
    return FileDialogChoice{path, QFileInfo(path).fileName()};
}

QString AccessoryDialog::chooseFileToSave(const QString &filter, const QString &fileName, const QString &defaultSuffix)
{
    QFileDialog dialog(this, QStringLiteral("保存"), lastFolder());
    dialog.setObjectName(QStringLiteral("codFile"));
    // An existing file is refused by the window with its own message, never overwritten.
    dialog.setOptions(dialogOptions() | QFileDialog::DontConfirmOverwrite);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(FileDialogFilter::toQtFilters(filter));
    dialog.setDefaultSuffix(defaultSuffix.toLower());
    dialog.selectFile(fileName);
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    QApplication::restoreOverrideCursor();
    if (!chosen)
        return {};
    const QString path = dialog.selectedFiles().constFirst();
    lastFolder() = QFileInfo(path).absolutePath();
    return path;
}

void AccessoryDialog::showStatus(const QString &text)
{
    m_status->setText(text);
}

QString AccessoryDialog::statusText() const
{
    return m_status->text();
}

QStringList AccessoryDialog::fileLabels() const
{
    return {m_fileName->text(), m_fileSize->text(), m_fileExtension->text()};
}

QAction *AccessoryDialog::command(const QString &key) const
{
    const QList<QAction *> all = m_toolbar->actions();
    for (QAction *a : all) {
        if (a->objectName().compare(key, Qt::CaseInsensitive) == 0)
            return a;
    }
    return nullptr;
}

void AccessoryDialog::execModal(ManagedWindow *owner)
{
    // Modal over the card that opened the window, else over whatever window is active.
    QWidget *over = QApplication::activeWindow();
    if (auto *card = dynamic_cast<frmManageSample *>(owner)) {
        if (auto *cardWindow = dynamic_cast<QWidget *>(&card->view()))
            over = cardWindow;
    }
    if (over && over != this)
        setParent(over, windowFlags() | Qt::Dialog);
    setWindowModality(Qt::WindowModal);
    exec();
    // The dialog outlives its owner's children only as a top-level window: it is deleted by the
    // window logic that made it, never by the card.
    setParent(nullptr, windowFlags());
}

void AccessoryDialog::closeWindow()
{
    if (isVisible())
        done(QDialog::Accepted);
}

void AccessoryDialog::setUseQtFileDialogs(bool qtDialogs)
{
    useQtDialogs() = qtDialogs;
}

void AccessoryDialog::waitFor(const QString &label, TransferProgress &progress, const std::function<bool()> &finished)
{
    QProgressDialog dialog(label, QStringLiteral("取消"), 0, 0, this);
    dialog.setObjectName(QStringLiteral("transferProgress"));
    dialog.setWindowTitle(QStringLiteral("系统提示"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(0);

    QEventLoop loop;
    QTimer poll;
    poll.setInterval(50);
    connect(&poll, &QTimer::timeout, &loop, [&] {
        if (finished()) {
            loop.quit();
            return;
        }
        // A transfer that cannot tell how far it is shows a busy bar.
        const qint64 total = progress.total;
        const qint64 done = progress.done;
        if (total > 0 && done > 0) {
            dialog.setMaximum(1000);
            dialog.setValue(int(qMin<qint64>(1000, done * 1000 / total)));
        }
    });
    connect(&dialog, &QProgressDialog::canceled, &loop, [&] {
        progress.cancelled = true;
        // Stay on screen until the transfer has undone its work.
        dialog.setCancelButtonText(QString());
        dialog.setLabelText(label + QStringLiteral("\n正在取消…"));
        dialog.show();
    });
    QApplication::setOverrideCursor(Qt::BusyCursor);
    dialog.show();
    poll.start();
    if (!finished())
        loop.exec();
    QApplication::restoreOverrideCursor();
}
