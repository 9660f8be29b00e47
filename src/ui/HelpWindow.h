#pragma once

#include <QDialog>

class QTextBrowser;

// The module's help, rendered from the documentation shipped inside the program (the card's topic
// is docs/card-window.md). One window for the process: asking again brings it to the front.
class HelpWindow : public QDialog
{
    Q_OBJECT

public:
    // Shows the topic (a file name of the documentation, "card-window.md") and returns the window.
    static HelpWindow *showTopic(const QString &topic, QWidget *parent = nullptr);

    QString shownTopic() const;

private:
    explicit HelpWindow(QWidget *parent);

    QTextBrowser *m_browser;
};
