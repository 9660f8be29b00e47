#pragma once

#include <QStringList>

// A template chooser above the card (the display template's and the print template's), as the
// card logic sees it.
class TemplateComboControl
{
public:
    virtual ~TemplateComboControl() = default;
    // The chosen template as shown: its identifier, a blank and its name; "" when none is chosen.
    virtual QString text() const = 0;
    virtual void setShown(bool shown) = 0;
    // Replaces the entries ("id name") and selects entry `current` (-1: none).
    virtual void setEntries(const QStringList &entries, int current) = 0;
};
