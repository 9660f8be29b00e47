#pragma once

#include "host/CardTemplate.h"

#include "card/TemplateComboControl.h"

#include <QComboBox>

// A template chooser above the card (display or print templates): its entries read "id name".
class TemplateChooser : public QComboBox, public TemplateComboControl
{
    Q_OBJECT

public:
    explicit TemplateChooser(const QString &objectName, QWidget *parent = nullptr);

    // Chooses the template with that identifier; false (and nothing changes) when it is not listed.
    bool choose(int templateId);
    // The identifier of the chosen template; 0 when none is chosen.
    int chosenId() const;

    QString text() const override { return currentText(); }
    void setShown(bool shown) override { setVisible(shown); }
    void setEntries(const QStringList &entries, int current) override;
};
