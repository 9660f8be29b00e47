#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// The modal message window: the message in a read-only text box ("Text1") that can be scrolled
// and copied from, and one button "确定" ("Command1") that closes the window.
class MessageWindow : public QDialog
{
    Q_OBJECT

public:
    MessageWindow(const QString &text, const QString &caption, QWidget *parent = nullptr);

    QPlainTextEdit *textBox() const { return m_text; }
    QPushButton *okButton() const { return m_ok; }

private:
    QPlainTextEdit *m_text;
    QPushButton *m_ok;
};
