#pragma once

#include <QList>
#include <QString>

// The paper a print template prints on, kept with the template as text ("A4;landscape").
struct PrintSetting
{
    QString paper = QStringLiteral("A4"); // A4, A3, A5 or Letter
    bool landscape = false;

    QString toText() const;
    // Reads the stored text; anything it does not know keeps the default (A4, portrait).
    static PrintSetting fromText(const QString &text);
    static QStringList papers();
};

// One field of a print template: a head item or a body column as it is printed.
struct PrintItem
{
    QString field;     // lower-case database field name
    QString caption;   // printed before a head item's value or above a body column
    int order = 0;     // print order within its section
    int width = 0;     // column width in characters; 0: the caption's length
    int decimals = -1; // decimal places of a number; -1 for a text, a date or a flag
    bool shown = true;
};

// A print template of a card: its title, paper, head items and body columns in print order.
struct PrintTemplate
{
    int id = 0;
    QString name;
    QString title;
    PrintSetting setting;
    QList<PrintItem> head;
    QList<PrintItem> body;
};
