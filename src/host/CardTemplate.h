#pragma once

#include <QList>
#include <QString>

// One item of a display template: a head field or a body column as the card shows it.
struct CardItem
{
    QString field;   // lower-case database field name
    QString caption; // what the card shows beside or above it
    bool required = false;
    bool editable = false; // the template lets the user change it
    bool shown = true;
    bool number = false; // a number: right-aligned, typed and shown as one
    int decimals = -1;   // decimals a number is shown with; -1 as many as it has
    int width = 0;       // column width of a body item, in pixels; 0 for the default
    QString refKind;     // the kind of reference list behind the item; "" when there is none
    int maxLength = 0;   // the most characters its table column holds; 0 when unlimited
};

// A display template of the card: its head items and body columns in the template's order.
struct CardTemplate
{
    int id = 0;
    QList<CardItem> head;
    QList<CardItem> body;

    bool isEmpty() const { return head.isEmpty() && body.isEmpty(); }
};

// A template the user may choose for a card: its identifier and its name.
struct TemplateChoice
{
    int id = 0;
    QString name;
};
