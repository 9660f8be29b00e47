#include "CardFieldAids.h"

#include "card/FieldEditHandler.h"

#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

// The key code the card logic knows a key stroke by: Enter 13, Backspace 8, else the character.
int keyCode(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Backspace:
        return 8;
    default:
        return event->text().isEmpty() ? -1 : int(event->text().at(0).unicode());
    }
}

class HeadKeyFilter final : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const int code = keyCode(key);
        // Keys that type nothing (arrows, Tab, F2) are the editor's and the card's own.
        if (code < 0)
            return false;
        return !FieldEditHandler::acceptsHeadKey(object->objectName(), code);
    }
};

} // namespace

namespace CardFieldAids {

void apply(QWidget *card)
{
    // One filter per card, found again by name when the aids are applied anew.
    const QString filterName = QStringLiteral("parentItemKeyFilter");
    QObject *filter = card->findChild<QObject *>(filterName, Qt::FindDirectChildrenOnly);
    for (QLineEdit *edit : card->findChildren<QLineEdit *>()) {
        const QString field = edit->objectName().toLower();
        if (field == QLatin1String("cpspinvcode") || field == QLatin1String("cpspinvname")) {
            if (!filter) {
                filter = new HeadKeyFilter(card);
                filter->setObjectName(filterName);
            }
            edit->installEventFilter(filter);
        } else if (!edit->completer()) {
            const QStringList choices = FieldEditHandler::choiceItems(field, {});
            if (choices.isEmpty())
                continue;
            auto *completer = new QCompleter(choices, edit);
            completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
            edit->setCompleter(completer);
        }
    }
}

} // namespace CardFieldAids
