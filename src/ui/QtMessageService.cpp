#include "QtMessageService.h"

#include "MessageWindow.h"

#include <QApplication>
#include <QMessageBox>

MessageService::Answer QtMessageService::show(const QString &text, const QString &title, Icon icon, Buttons buttons)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title.isEmpty() ? QApplication::applicationDisplayName() : title);
    box.setText(text);
    switch (icon) {
    case Information: box.setIcon(QMessageBox::Information); break;
    case Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Critical: box.setIcon(QMessageBox::Critical); break;
    case Question: box.setIcon(QMessageBox::Question); break;
    case NoIcon: break;
    }
    // Every question the system asks risks something on its first answer (delete, give up an edit,
    // close without saving): a stray Enter takes the safe one.
    switch (buttons) {
    case Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Cancel);
        break;
    case YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        break;
    case YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Cancel);
        break;
    }
    // A box opened inside a long action shows the ordinary pointer, not the busy one.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = box.exec();
    QApplication::restoreOverrideCursor();
    switch (answer) {
    case QMessageBox::Yes: return AnswerYes;
    case QMessageBox::No: return AnswerNo;
    case QMessageBox::Cancel: return AnswerCancel;
    default: return AnswerOk;
    }
}

void QtMessageService::showWindow(const QString &text, const QString &caption)
{
    MessageWindow window(text, caption, QApplication::activeWindow());
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    window.exec();
    QApplication::restoreOverrideCursor();
}
