#pragma once

#include <QList>
#include <QString>

// One button of the card's toolbar: its key, its caption and the task the user must be allowed to
// enter before the command runs ("" when the command is not guarded). A separator has a key
// ("p1".."p7") and no caption.
struct CardCommand
{
    QString key;
    QString caption;
    QString taskId;
    bool separator = false;
};

// A drop-down item of a button (the print button's menu).
struct CardMenuItem
{
    QString key;
    QString caption;
};

// The card window's commands, in toolbar order. The views build their bars from this table; the
// window logic works on the keys only. Keys are compared without regard to letter case.
namespace CardCommands {

// Tasks the commands are guarded by.
inline QString changeTask()
{
    return QStringLiteral("SA03250102");
}
inline QString confirmTask()
{
    return QStringLiteral("SA03250103");
}
inline QString cancelConfirmTask()
{
    return QStringLiteral("SA03250104");
}
inline QString convertTask()
{
    return QStringLiteral("SA03250105");
}

const QList<CardCommand> &toolbar();
// The print button's menu.
const QList<CardMenuItem> &printMenu();
// The command with that key, or nullptr.
const CardCommand *find(const QString &key);
// The task guarding the command, "" when it has none or the key is unknown.
QString taskOf(const QString &key);

} // namespace CardCommands
