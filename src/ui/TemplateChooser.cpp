#include "TemplateChooser.h"

TemplateChooser::TemplateChooser(const QString &objectName, QWidget *parent)
    : QComboBox(parent)
{
    setObjectName(objectName);
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
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

void TemplateChooser::setEntries(const QStringList &entries, int current)
{
    clear();
    for (const QString &entry : entries)
        addItem(entry, entry.section(QLatin1Char(' '), 0, 0).toInt());
    setCurrentIndex(current);
}
