#include "TemplateChooser.h"

TemplateChooser::TemplateChooser(const QString &objectName, QWidget *parent)
    : QComboBox(parent)
{
    setObjectName(objectName);
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

void TemplateChooser::setChoices(const QList<TemplateChoice> &choices)
{
    clear();
    for (const TemplateChoice &c : choices)
        addItem(QStringLiteral("%1 %2").arg(c.id).arg(c.name), c.id);
}

bool TemplateChooser::choose(int templateId)
{
    const int i = findData(templateId);
    if (i < 0)
        return false;
    setCurrentIndex(i);
    return true;
}

int TemplateChooser::chosenId() const
{
    return currentIndex() < 0 ? 0 : currentData().toInt();
}
