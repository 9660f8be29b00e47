#pragma once

#include "ui/CardGrid.h"
#include "ui/VoucherCardWidget.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

// Readable texts in failure messages.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// Typing into a card as the user does; the card's window must be active.

// Types text into a widget: ASCII as key strokes, anything else as an input method commits it.
inline void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
            continue;
        }
        QInputMethodEvent commit;
        commit.setCommitString(QString(c));
        QCoreApplication::sendEvent(widget, &commit);
    }
}

// Focuses a head item, types over it and presses Enter.
inline void typeHead(VoucherCardWidget &card, const QString &field, const QString &text)
{
    QLineEdit *edit = card.headEditor(field);
    ASSERT_TRUE(edit) << field.toStdString();
    edit->setFocus();
    edit->selectAll();
    typeText(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

// Goes to a body cell and types over it (the first key opens the cell's editor), then Enter.
inline void typeCell(VoucherCardWidget &card, int row, const QString &field, const QString &text)
{
    CardGrid *grid = card.bodyGrid();
    const int column = card.columnOf(field);
    ASSERT_GE(column, 0) << field.toStdString();
    grid->setFocus();
    grid->setCurrentCell(row - 1, column);
    QTest::keyClicks(grid, text.left(1));
    QWidget *editor = QApplication::focusWidget();
    ASSERT_TRUE(qobject_cast<QLineEdit *>(editor)) << "typing opens the cell's editor";
    typeText(editor, text.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
}
